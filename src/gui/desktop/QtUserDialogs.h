#pragma once

#include "core/desktop/UserDialogs.h"

class QWidget;

// Modal message boxes over the window the user is in, or else over the
// given parent window.
class QtUserDialogs : public UserDialogs {
public:
    void setParent(QWidget* parent) { parentWindow = parent; }

    bool askYesNo(const std::string& title, const std::string& text) override;
    void tell(const std::string& title, const std::string& text, Icon icon) override;

private:
    QWidget* findeFenster() const;

    QWidget* parentWindow = nullptr;
};
