#pragma once

#include "gui/common/DialogWindow.h"
#include <QFont>

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class UserDialogs;

// The options dialog: the editor's font size and name, which apply at once,
// and the hidden start. Closing it stores all three.
class Form2 : public DialogWindow {
    Q_OBJECT

public:
    // `editorFont` is the editor's font as it is now; the dialog changes it
    // through editorFontChosen.
    Form2(const QFont& editorFont, UserDialogs& dialogs);

    void Form_Load();
    void Form_Unload();
    void Combo1_Click();
    void Combo2_Click();

    QLabel* Label1 = nullptr;
    QLabel* Image1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;

signals:
    // A font size or name was picked: the editor takes this font at once.
    void editorFontChosen(const QFont& font);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void shownByProgram() override;

private:
    void baueFenster();
    QComboBox* baueAuswahl(const QString& name, int left, int top, int width, int height);

    QFont editorFont;
    UserDialogs& dialogs;
    bool unloaded = false;
    // While typing into a combo box ends: the entry it then selects was typed,
    // not picked, and is only stored.
    bool typingEnds = false;
};
