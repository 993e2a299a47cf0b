#include "platform/version_record.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

TEST(VersionText, NamesTheProgramAndVersionThenEachTextOfTheRecordThatIsThere) {
    const VersionRecord record("[StringFileInfo]\nProductVersion=1.2.3\nFileDescription=Arranges\n"
                               "LegalCopyright=(C) Us\nComments=\n");
    EXPECT_EQ(VersionText(record, "tralvo-cli"), "tralvo-cli 1.2.3\nArranges\n(C) Us\n");
    const VersionRecord own(ProgramVersionRecordText());
    EXPECT_EQ(VersionText(own, "tralvo").substr(0, 7 + own.ProductVersion().size()),
              "tralvo " + own.ProductVersion());
    EXPECT_FALSE(own.ProductVersion().empty());
}

} // namespace
} // namespace tralvo
