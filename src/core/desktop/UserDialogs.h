#pragma once

#include <string>

// The modal boxes that ask the user something or tell them something. Texts
// are UTF-8.
class UserDialogs {
public:
    enum class Icon { None, Information, Warning, Critical };

    virtual ~UserDialogs() = default;

    // A question with the buttons Yes and No, a question icon and Yes as the
    // default button. True only when the user answered Yes.
    virtual bool askYesNo(const std::string& title, const std::string& text) = 0;

    // A message with an OK button only.
    virtual void tell(const std::string& title, const std::string& text, Icon icon) = 0;
};
