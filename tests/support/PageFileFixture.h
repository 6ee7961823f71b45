#pragma once

#include "Files.h"
#include "RecordingDialogs.h"
#include "TempFolder.h"
#include "core/store/BusinessDataTier.h"

#include <gtest/gtest.h>

namespace {

// A page store in a fresh working folder.
class PageFile : public ::testing::Test {
protected:
    TempFolder folder;
    RecordingDialogs dialogs;
    BusinessDataTier store{dialogs};

    void load()
    {
        const auto error = store.leseDatei("kel.kel");
        ASSERT_FALSE(error) << error->file << ": " << error->reason;
    }
    void save()
    {
        const auto error = store.schreibeDatei("Kelmo-Note");
        ASSERT_FALSE(error) << error->file << ": " << error->reason;
    }
};

} // namespace
