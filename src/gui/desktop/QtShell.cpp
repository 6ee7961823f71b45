#include "QtShell.h"

#include <QDesktopServices>
#include <QUrl>

bool QtShell::open(const std::string& address, [[maybe_unused]] const std::string& workingDirectory)
{
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address), QUrl::TolerantMode));
}
