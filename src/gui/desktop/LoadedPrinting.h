#pragma once

#include "Printing.h"

#include <QStringList>
#include <memory>

class QLibrary;
class UserDialogs;

// Qt's printing, loaded from the program's printing module when first asked
// for: Qt's print support costs every start time and memory, and most starts
// never print.
class LoadedPrinting : public Printing {
public:
    explicit LoadedPrinting(UserDialogs& dialogs, QStringList modulePaths = LoadedPrinting::modulePaths());
    ~LoadedPrinting() override;

    std::optional<int> askForCopies(QWidget* parent) override;
    std::optional<QString> print(const PrintJob& job, int copies) override;

    // Where the module is looked for: beside the program, then where it is
    // installed.
    static QStringList modulePaths();

private:
    // Null, with the user told why, when the module cannot be loaded.
    Printing* lade();

    UserDialogs& dialogs;
    const QStringList paths;
    std::unique_ptr<QLibrary> module;
    std::unique_ptr<Printing> loaded;
};
