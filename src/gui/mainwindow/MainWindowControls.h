#pragma once

#include <QString>
#include <cstdint>
#include <map>

class PageEditor;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;

// The main window's designed controls, by their designed names: the page,
// the picture buttons, the binding's artwork and the popup menu; the search
// panel under the page builds its own. Who builds them into a window wires
// them up.
class MainWindowControls {
public:
    PageEditor* RichTextBox1 = nullptr;
    QLabel* Label1 = nullptr;
    std::map<std::int16_t, QPushButton*> Command1;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QMenu* popup_m = nullptr;

    // The designed window, in twips.
    static constexpr int kClientLeft = 11085;
    static constexpr int kClientTop = 330;
    static constexpr int kClientWidth = 4200;
    static constexpr int kClientHeight = 3375;
    static constexpr int kPanelTop = 3360;
    static constexpr int kPanelHeight = 1215;

protected:
    // Builds every control into `window`, with `caption` as its title.
    void buildInto(QWidget& window, const QString& caption);

private:
    void baueKnoepfe(QWidget& window);
    static void baueBilder(QWidget& window);
    void baueMenue(QWidget& window);
    void setzeFokusReihenfolge();
};
