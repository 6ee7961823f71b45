#include "LastSave.h"

#include <QString>
#include <QtGlobal>

#include <cstdlib>
#include <utility>

namespace {

std::function<void()> pending;
QtMessageHandler previous = nullptr;

void saveOnce()
{
    if (auto save = std::exchange(pending, nullptr))
        save();
}

// "The X11 connection broke", "The Wayland connection broke": the program
// ends right after this message.
void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("connection broke")))
        saveOnce();
    if (previous)
        previous(type, context, message);
}

bool hooked = false;

} // namespace

LastSave::LastSave(std::function<void()> save)
{
    pending = std::move(save);
    previous = qInstallMessageHandler(onMessage);
    if (!std::exchange(hooked, true))
        std::atexit(saveOnce);
}

// An orderly end has saved already, and what `save` uses is about to go.
LastSave::~LastSave()
{
    pending = nullptr;
    qInstallMessageHandler(previous);
}
