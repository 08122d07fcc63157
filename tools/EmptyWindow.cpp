// An empty Qt window, the floor the program's start is measured against: it loads the same Qt
// and platform plugin and shows one plain widget of the given size.
//
//     huesplinter-empty-window [WIDTHxHEIGHT]

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty"));
    const QStringList size = argc > 1 ? QString::fromLocal8Bit(argv[1]).split(u'x') : QStringList();
    if (size.size() == 2) window.resize(size[0].toInt(), size[1].toInt());
    window.show();
    return app.exec();
}
