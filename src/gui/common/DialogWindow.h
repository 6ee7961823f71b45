#pragma once

#include <QWidget>

// What the program's dialogs share: a window of its own above the main
// window (which stays on top of everything else), gone when closed, in the
// designed font, read out as a dialog, closed by Escape as by its close box,
// and centred on the screen each time the program shows it.
class DialogWindow : public QWidget {
    Q_OBJECT

public:
    DialogWindow(const QString& name, const QString& title, const QString& picture);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Each time the program shows the dialog, after it was centred.
    virtual void shownByProgram() {}
};
