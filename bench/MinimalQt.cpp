// A minimal Qt Widgets program: one window with a text editor, and an icon
// in the tray, as any tray program has.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSystemTrayIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QPlainTextEdit editor;
    editor.setWindowTitle(QStringLiteral("Minimal Qt"));
    editor.resize(280, 225);
    editor.show();
    QPixmap picture(22, 22);
    picture.fill(Qt::darkBlue);
    QSystemTrayIcon tray{QIcon(picture)};
    tray.show();
    return app.exec();
}
