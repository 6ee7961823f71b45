#pragma once

#include <QString>

class Printing;
class QWidget;
class UserDialogs;

// Prints the page shown, in as many copies as the user asks for, and says
// so when the print system refuses.
class PagePrinter {
public:
    PagePrinter(Printing& printing, UserDialogs& dialogs);

    // `text` in lines of the editor's paragraphs, under `heading`.
    void print(QWidget* parent, const QString& heading, const QString& text, qreal pointSize);

private:
    Printing& printing;
    UserDialogs& dialogs;
};
