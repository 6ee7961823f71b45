#pragma once

#include <QObject>

class NoticeWindow;
class PageEditor;

// What the page refuses or changes as it is typed is told at once, in a
// notice that goes by itself after a few seconds, or at the next character
// the page takes.
class TypingNotices : public QObject {
    Q_OBJECT

public:
    // How long such a notice stays.
    static constexpr int kShownMs = 5000;

    TypingNotices(PageEditor& page, NoticeWindow& notices);
};
