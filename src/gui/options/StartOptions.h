#pragma once

class QWidget;
class UserDialogs;

// The stored options, applied at start: shown or hidden, and the editor's
// font. A file that cannot be read gives the usual settings and a message.
namespace StartOptions {

// `mayHide` is false where a hidden window could not be reached again.
void apply(QWidget& window, QWidget& editor, bool mayHide, UserDialogs& dialogs);

} // namespace StartOptions
