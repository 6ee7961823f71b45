#include "QtUserDialogs.h"

#include "gui/common/KeyboardReturn.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon qtIcon(UserDialogs::Icon icon)
{
    switch (icon) {
    case UserDialogs::Icon::Information:
        return QMessageBox::Information;
    case UserDialogs::Icon::Warning:
        return QMessageBox::Warning;
    case UserDialogs::Icon::Critical:
        return QMessageBox::Critical;
    case UserDialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The keyboard goes back to the window the box stood over, or its shortcuts
// would stay dead until it was clicked.
int showOver(QMessageBox& box, QWidget* parent)
{
    // Paths and texts from files are shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    const int answer = box.exec();
    KeyboardReturn::to(parent);
    return answer;
}

} // namespace

bool QtUserDialogs::askYesNo(const std::string& title, const std::string& text)
{
    QWidget* over = findeFenster();
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, over);
    box.setDefaultButton(QMessageBox::Yes);
    return showOver(box, over) == QMessageBox::Yes;
}

void QtUserDialogs::tell(const std::string& title, const std::string& text, Icon icon)
{
    QWidget* over = findeFenster();
    QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, over);
    // File names and addresses in a message can be copied from it.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    showOver(box, over);
}

// A message from a dialog (About, Options) stands over that dialog, and the
// keyboard goes back to it, not to the main window behind it.
QWidget* QtUserDialogs::findeFenster() const
{
    QWidget* active = QApplication::activeWindow();
    return active ? active : parentWindow;
}
