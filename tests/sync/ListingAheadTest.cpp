// Folders listed ahead give what a listing made there and then gives, in whatever order they
// are asked for and taken, and a run that stops early leaves nothing waiting.
#include "ListingAhead.h"

#include <gtest/gtest.h>

#include "FileFilter.h"
#include "TempFolder.h"

using Sync::TFolderListing;
using TestSupport::TempFolder;

namespace {

QStringList Names(const TFolderListing& listing) {
    QStringList names;
    for (const Sync::TListedFile& file : listing.Files())
        names << file.Name;
    return names;
}

}  // namespace

TEST(ListingAhead, TakesWhatAListingThereAndThenGives) {
    TempFolder temp;
    for (const char* name : {"a/1.txt", "a/2.doc", "b/3.txt", "c/4.txt", "c/5.txt"})
        temp.WriteFile(name, "x");
    const Sync::TFileFilter filter("*.txt");
    const struct {
        const char* what;
        QStringList asked;
        QStringList taken;
    } cases[] = {
        {"asked, taken in order", {"a", "b", "c"}, {"a", "b", "c"}},
        {"taken in another order", {"a", "b", "c"}, {"c", "a", "b"}},
        {"some never asked for", {"b"}, {"a", "b", "c"}},
        {"some asked for and never taken", {"a", "b", "c", "missing"}, {"b"}},
        {"a missing folder", {"missing"}, {"missing"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sync::TListingAhead ahead(filter, /*withFolders=*/false);
        QStringList asked;
        for (const QString& folder : c.asked)
            asked << temp / folder;
        ahead.Ask(asked);
        for (const QString& folder : c.taken) {
            const TFolderListing taken = ahead.Take(temp / folder);
            const TFolderListing direct(temp / folder, filter, false);
            EXPECT_EQ(Names(taken), Names(direct)) << folder.toStdString();
            EXPECT_EQ(taken.Missing(), direct.Missing()) << folder.toStdString();
        }
    }
}
