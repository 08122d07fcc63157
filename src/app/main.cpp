#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Huesplinter"));
    QApplication::setOrganizationName(QStringLiteral("Vextora"));

    // Until the main window exists the program shows a placeholder window.
    QLabel label(QStringLiteral("Huesplinter"));
    label.resize(400, 200);
    label.show();
    return app.exec();
}
