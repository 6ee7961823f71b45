#pragma once

#include "core/desktop/UserDialogs.h"

class QWidget;

// Modal message boxes over the given parent window.
class QtUserDialogs : public UserDialogs {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    bool askYesNo(const std::string& title, const std::string& text) override;
    void tell(const std::string& title, const std::string& text, Icon icon) override;

private:
    QWidget* parent_ = nullptr;
};
