#pragma once

#include <QObject>
#include <QPointer>
#include <array>

class Form2;
class Form3;
class QFont;
class QWidget;
class Shell;
class UserDialogs;

// The options and about dialogs: made when first opened, modeless, kept
// above the main window while they are open, and closed at its end. When
// one closes, the main window gets the keyboard back.
class SecondaryWindows : public QObject {
    Q_OBJECT

public:
    SecondaryWindows(Shell& shell, UserDialogs& dialogs, QWidget* mainWindow);
    ~SecondaryWindows() override;

    // The dialogs while they are open.
    Form2* options() const;
    Form3* about() const;

    // `editorFont` is the editor's font as it is now.
    void openOptions(const QFont& editorFont);
    void openAbout();
    void raiseOpen();
    void closeAll();

signals:
    void editorFontChosen(const QFont& font);

private:
    void zeige(QWidget& dialog);
    void gibTastaturZurueck();
    // Both dialogs, null where not open.
    std::array<QWidget*, 2> sammleDialoge() const;

    Shell& shell;
    UserDialogs& dialogs;
    QWidget* mainWindow;
    QPointer<Form2> optionsForm;
    QPointer<Form3> aboutForm;
};
