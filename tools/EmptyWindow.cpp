// An empty Qt window, the floor the program's start is measured against: it loads the same Qt
// and platform plugin and shows one plain widget of the given size. With --text it shows one line
// of text as well, so the price of the first text (the font system's start and the first face) can
// be told apart from the program's own.
//
//     huesplinter-empty-window [--text] [WIDTHxHEIGHT]

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    const bool withText = arguments.removeAll(QStringLiteral("--text")) > 0;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty"));
    const QStringList size = arguments.isEmpty() ? QStringList() : arguments[0].split(u'x');
    if (size.size() == 2) window.resize(size[0].toInt(), size[1].toInt());
    if (withText) {
        auto* label = new QLabel(QStringLiteral("Show Sample"), &window);
        label->move(8, 8);
    }
    window.show();
    return app.exec();
}
