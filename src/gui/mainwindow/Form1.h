#pragma once

#include "PageEditor.h"
#include "core/store/BusinessDataTier.h"

#include "core/tray/TrayReaction.h"
#include "gui/desktop/Desktop.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScreen;
class Form2;
class Form3;
class NotebookKeeper;

// The main window: one page of the notebook in the editor, the page buttons
// below it, and the search panel out of view underneath.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(Desktop& desktop, QWidget* parent = nullptr);
    ~Form1() override;

    static constexpr const char* kCaption = "Kelmo-Note";

    // Start-up. False when the notebook could not be read: the user has been
    // told and the program must end without writing anything.
    bool Form_Load();
    // The single way out: stores the editor text and writes the notebook.
    // False when that failed; the window then stays, the pages with it.
    bool Form_Unload();

    void maskeSpeichern();
    void maskeAnzeigen();

    void TaskBarAddIcon();
    void TaskBarRemoveIcon();

    void Command1_Click(std::int16_t Index);
    void Command2_Click();
    void Command3_Click();
    void Searchbutton_Click(std::int16_t Index);
    void Form_Resize();
    void end_click();
    void mini_Click();
    void Möffnen_Click();
    void options_click();
    void print_click();
    void about_click();
    // Change the height of `frm` in small steps, the search button blocked.
    void RollUpWindow(Form1& frm, std::int16_t MinHeight);
    void RollDownWindow(Form1& frm, std::int16_t MaxHeight);

    // The window's outer frame in twips, as the roll and the placement use it.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void Move(float left, float top, float width, float height);

    // What the tray icon's activations do.
    void trayIcon_Activated(TrayActivation activation);

    // The options dialog while it is open.
    Form2* optionsDialog() const;
    // The about dialog while it is open.
    Form3* aboutDialog() const;

    // The controls, by their designed names, for those who work with them.
    PageEditor* RichTextBox1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QCheckBox* Check1 = nullptr;
    std::map<std::int16_t, QPushButton*> Searchbutton;
    QLabel* Label1 = nullptr;
    std::map<std::int16_t, QPushButton*> Command1;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QMenu* popup_m = nullptr;

    BusinessDataTier& seitenSpeicher();

signals:
    // The window has been unloaded and the notebook written; the program ends.
    void entladen();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void baueFenster();
    void baueSuchfeld();
    void baueKnoepfe();
    void baueBilder();
    void baueMenue();
    void setzeFokusReihenfolge();
    void baueTastenkuerzel();
    void platziereFenster();
    QPoint berechnePlatz() const;
    void beobachteBildschirm(QScreen* screen);
    void passeEinSpaeter();
    void passeEin();

    void benenneSeite();
    void zeigeMenueAmFenster();
    void sucheWeiter();
    float berechneHoehe(int clientTwips) const;
    void setzeHoehe(float height);

    void rolle(Form1& frm, std::int16_t step);
    void optionenAnwenden();
    void verstecke();
    // Takes on the ways of a window with or without a tray when a tray host
    // comes or goes.
    void richteNachTray();
    // Keeps the open dialogs above the main window, which also stays on top.
    void hebeDialogeHervor();
    void ladeSeiten();
    void behalteDatei();
    bool sichern();
    bool speichereSeiten();
    void meldeFehlerBeimLesen(const FileError& error);
    void meldeAusgelassen(int characters);

    Desktop& desktop;
    UserDialogs& dialoge;
    bool hatTray;
    std::unique_ptr<BusinessDataTier> speicher;
    QPointer<Form2> form2;
    QPointer<Form3> form3;
    // What the editor was given, so a page the user did not touch goes back
    // exactly as it came, whatever bytes it holds.
    std::u16string angezeigteSeite;
    QString angezeigterText;
    // Writes the notebook between times, so a crash or a power cut loses no
    // more than the last few seconds, and watches it for others' changes.
    NotebookKeeper* keeper = nullptr;
    // The extents last set by Move, in twips; -1 until then.
    float gesetztLinks = -1;
    float gesetztOben = -1;
    float gesetztBreite = -1;
    float gesetztHoehe = -1;
    // Where the window was last put on its screen (client area, pixels): a
    // window found elsewhere was moved there by the user and stays there.
    QPoint eingepassterPlatz;
    // The window manager's frame as last seen; it comes after the window.
    QSize bekannterRahmen;
    bool seitenGelesen = false;
    bool istEntladen = false;
};
