#pragma once

#include "FindInAllPages.h"
#include "MainWindowControls.h"
#include "NotebookSession.h"
#include "PageEditor.h"
#include "SearchPanel.h"
#include "SecondaryWindows.h"
#include "core/store/BusinessDataTier.h"
#include "gui/common/NoticeWindow.h"
#include "gui/common/WindowGeometry.h"
#include "gui/desktop/Desktop.h"
#include "gui/tray/TrayPresence.h"
#include "gui/tray/WindowRoll.h"

#include <QWidget>
#include <memory>

class Form2;
class Form3;
class PagePrinter;
class TypingNotices;

// The main window: one page of the notebook in the editor, the page buttons
// below it, and the search panel out of view underneath. Its handlers are
// the designed ones; keeping the notebook on disk, the window's place and
// roll, and its presence in the tray are each a class of their own.
class Form1 : public QWidget, public MainWindowControls {
    Q_OBJECT

public:
    explicit Form1(Desktop& desktop, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up. False when the notebook could not be read: the user has been
    // told and the program must end without writing anything.
    bool Form_Load();
    // The single way out: stores the editor text and writes the notebook.
    // False when that failed; the window then stays, the pages with it.
    bool Form_Unload();
    // The end when nothing may wait for an answer (a signal at logout): the
    // pages go to the notebook or a rescue file, and the window unloads.
    void endWithoutAsking();
    // What is typed is in the notebook or a rescue file before the program
    // goes: for a display that went away, with no window or event loop used.
    void saveWithoutAsking() { session->saveWithoutAsking(); }
    // Whether the program has been ended, perhaps while a message of the
    // start-up was up: the event loop it ended is gone then.
    bool hasEnded() const { return unloaded; }

    // Tells what answers nothing the user did, without taking the keyboard.
    void postNotice(const QString& kind, const QString& text) { notices->post(kind, text); }

    void maskeSpeichern() { session->storePage(); }
    void maskeAnzeigen();

    void TaskBarAddIcon();
    void TaskBarRemoveIcon() { presence->removeIcon(); }

    void Command1_Click(std::int16_t Index);
    void Command2_Click();
    void Command3_Click() { search->toggle(); }
    void Searchbutton_Click([[maybe_unused]] std::int16_t Index) { search->findNext(); }
    void Form_Resize();
    void end_click() { close(); }
    void mini_Click() { presence->hideWindow(); }
    void Möffnen_Click();
    void options_click() { dialogWindows->openOptions(RichTextBox1->font()); }
    void print_click();
    void about_click() { dialogWindows->openAbout(); }
    // Change the height of `frm` in small steps, the search button blocked.
    void RollUpWindow([[maybe_unused]] Form1& frm, std::int16_t MinHeight) { roll->rollUp(MinHeight); }
    void RollDownWindow([[maybe_unused]] Form1& frm, std::int16_t MaxHeight) { roll->rollDown(MaxHeight); }

    // The window's outer frame in twips, as the roll and the placement use it.
    float Left() const { return windowGeometry->left(); }
    float Top() const { return windowGeometry->top(); }
    float Width() const { return windowGeometry->width(); }
    float Height() const { return windowGeometry->height(); }
    void Move(float left, float top, float width, float height)
    {
        windowGeometry->move(left, top, width, height);
    }

    // The options dialog and the about dialog while they are open.
    Form2* optionsDialog() const { return dialogWindows->options(); }
    Form3* aboutDialog() const { return dialogWindows->about(); }
    // The search panel under the page, and its controls once built.
    SearchPanel& searchPanel() const { return *search; }

    // The notebook, created on first use.
    BusinessDataTier& pageStore() { return session->pages(); }

signals:
    // The window has been unloaded and the notebook written; the program
    // ends. Whatever works on the window stops here.
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void verbindeBefehle();
    void verbindeTasten();
    bool ladeSeiten();
    bool sichern() { return speichereSeiten(); }
    bool speichereSeiten();
    void zeigeSucheInAllenSeiten() { allPages->open(); }
    void nimmTastaturZurueck();
    void geheZuFund(std::int16_t page, int position, int length);
    void beende();

    Desktop& desktop;
    UserDialogs& dialogs;
    WindowGeometry* windowGeometry = nullptr;
    std::unique_ptr<WindowRoll> roll;
    TrayPresence* presence = nullptr;
    NotebookSession* session = nullptr;
    SearchPanel* search = nullptr;
    std::unique_ptr<PagePrinter> printer;
    SecondaryWindows* dialogWindows = nullptr;
    // What the program says by itself, beside the window.
    NoticeWindow* notices = nullptr;
    FindInAllPages* allPages = nullptr;
    bool unloaded = false;
};
