#pragma once

#include "FakeTray.h"
#include "Files.h"
#include "RecordingDialogs.h"
#include "RecordingPrinting.h"
#include "RecordingShell.h"
#include "TempFolder.h"
#include "gui/common/NoticeWindow.h"
#include "gui/mainwindow/Form1.h"
#include "gui/mainwindow/NotebookKeeper.h"
#include "gui/mainwindow/SearchPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A main window started in a fresh working folder, with recording dialogs.
class FormFixture : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingDialogs dialogs;
    FakeTray tray;
    RecordingPrinting printing;
    RecordingShell shell;
    Desktop desktop{dialogs, tray, printing, shell};
    std::unique_ptr<Form1> form;

    void start(const std::string& notebook)
    {
        writeBytes("kel.kel", notebook);
        start();
    }
    void start()
    {
        form = std::make_unique<Form1>(desktop);
        ASSERT_TRUE(form->Form_Load());
    }
    QString editorText() const { return form->RichTextBox1->toPlainText(); }
    // Until the disk is no longer used off the window's thread.
    void diskDone() const
    {
        auto* keeper = form->findChild<NotebookKeeper*>();
        EXPECT_TRUE(QTest::qWaitFor([keeper] { return !keeper->busy(); }, 10000));
        QTest::qWait(1);
    }
    // The notices the program gave by itself.
    NoticeWindow& notices() const { return *form->findChild<NoticeWindow*>(); }
    void type(const QString& text)
    {
        form->RichTextBox1->moveCursor(QTextCursor::Start);
        // Key events that carry their text, as a keyboard layout sends them;
        // QTest::keyClicks knows only ASCII.
        // One event a character, a pair of surrogates in one, as X11 sends them.
        for (const char32_t c : text.toUcs4()) {
            const QString one = QString::fromUcs4(&c, 1);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, one);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, one);
            QApplication::sendEvent(form->RichTextBox1, &press);
            QApplication::sendEvent(form->RichTextBox1, &release);
        }
    }
    // A popup menu entry by its designed name.
    QAction* entry(const char* name) const
    {
        return form->popup_m->findChild<QAction*>(QString::fromUtf8(name));
    }
    void click(std::int16_t index) { QTest::mouseClick(form->Command1.at(index), Qt::LeftButton); }
};
