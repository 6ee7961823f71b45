// A minimal Qt Widgets program: one window with a text editor.
#include <QApplication>
#include <QPlainTextEdit>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QPlainTextEdit editor;
    editor.setWindowTitle(QStringLiteral("Minimal Qt"));
    editor.resize(280, 225);
    editor.show();
    return app.exec();
}
