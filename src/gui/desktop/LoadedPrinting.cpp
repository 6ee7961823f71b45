#include "LoadedPrinting.h"

#include "PrintingModule.h"
#include "core/common/Product.h"
#include "core/desktop/UserDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

LoadedPrinting::LoadedPrinting(UserDialogs& dialogs_, QStringList modulePaths_)
    : dialogs(dialogs_)
    , paths(std::move(modulePaths_))
{}

LoadedPrinting::~LoadedPrinting()
{
    // The printer goes before the code it runs on; the module stays loaded,
    // as Qt may still hold on to what it made.
    loaded.reset();
}

QStringList LoadedPrinting::modulePaths()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral(KELMO_PRINTING_MODULE_FILE);
    // The installed folder is given relative to the program's.
    const QString installed = QStringLiteral(KELMO_PRINTING_MODULE_FOLDER "/") + name;
    return {programFolder.filePath(name), QDir::cleanPath(programFolder.filePath(installed))};
}

Printing* LoadedPrinting::lade()
{
    if (loaded)
        return loaded.get();
    QStringList failures;
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path))
            continue;
        module = std::make_unique<QLibrary>(path);
        auto make = reinterpret_cast<PrintingModule::Factory>(module->resolve(PrintingModule::kFactory));
        if (make) {
            loaded.reset(make());
            return loaded.get();
        }
        failures.append(module->errorString());
    }
    if (failures.isEmpty())
        failures.append(QStringLiteral("%1 is not there").arg(paths.join(QStringLiteral(" nor "))));
    dialogs.tell(Product::kMessageTitle,
                 QStringLiteral("Kelmo-Note cannot print: its printing module does not load.\n\n%1")
                     .arg(failures.join(QLatin1Char('\n')))
                     .toStdString(),
                 UserDialogs::Icon::Warning);
    return nullptr;
}

std::optional<int> LoadedPrinting::askForCopies(QWidget* parent)
{
    Printing* printing = lade();
    return printing ? printing->askForCopies(parent) : std::nullopt;
}

std::optional<QString> LoadedPrinting::print(const PrintJob& job, int copies)
{
    Printing* printing = lade();
    if (!printing)
        return QStringLiteral("the printing module does not load");
    return printing->print(job, copies);
}
