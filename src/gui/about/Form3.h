#pragma once

#include "gui/common/DialogWindow.h"

#include <QWidget>
#include <string>

class QLabel;
class QPushButton;
class QTabWidget;
class Shell;
class UserDialogs;

// The about dialog: who made Kelmo-Note and with what, and two ways to reach
// its authors.
class Form3 : public DialogWindow {
    Q_OBJECT

public:
    Form3(Shell& shell, UserDialogs& dialogs);

    static const char* const kHomepage;
    static const char* const kMailAddress;

    void Command3_Click();
    void Command4_Click();
    bool StartURL(const std::string& URL);
    void SendeeMail(const std::string& eMail, const std::string& Subject, const std::string& Body);

    QTabWidget* SSTab1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;

protected:
private:
    QLabel* baueText(int tab, const QString& name, const QString& text, int left, int top, int width,
                     int height);
    void zeigeReiter(int tab);
    // Where the desktop took no program for an address, says so and shows it.
    void meldeNichtGeoeffnet(const std::string& what, const std::string& address);

    Shell& shell;
    UserDialogs& dialogs;
    QList<QWidget*> tabPages[2];
};
