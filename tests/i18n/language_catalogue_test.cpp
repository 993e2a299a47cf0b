#include "i18n/catalogue_fixture.h"
#include "i18n/component_text.h"
#include "i18n/language_catalogue.h"

#include <gtest/gtest.h>

namespace tralvo {
namespace {

using test::CatalogueFile;

constexpr std::string_view TwoLanguages = R"([Languages]
Count=2
Default=1
[Language0]
Name=English
Code=EN
[Language1]
Name=Deutsch
Code=DE
[Language0-Strings]
Error=Error
TwoLines=first\nsecond
Padded=\s padded \s
[Language1-Strings]
Error=Fehler
[Language1-Properties]
TSettingsForm.OKBtn.Caption=OK
TSettingsForm.HelpBtn.Caption=@TSettingsForm.OKBtn.Caption
TSettingsForm.CancelBtn.Caption=\@TSettingsForm.OKBtn.Caption
TSettingsForm.Chain.Caption=@TSettingsForm.HelpBtn.Caption
TSettingsForm.Dangling.Caption=@TSettingsForm.Missing.Caption
TSettingsForm.Self.Caption=@TSettingsForm.Self.Caption
TSettingsForm.Ping.Caption=@TSettingsForm.Pong.Caption
TSettingsForm.Pong.Caption=@TSettingsForm.Ping.Caption
TSettingsForm.Empty.Caption=
TSettingsForm.Caption=Einstellungen
)";

TEST(LanguageCatalogue, OpensWithTheDefaultLanguageCurrent) {
    CatalogueFile file(TwoLanguages);
    const LanguageCatalogue& catalogue = file.catalogue;
    EXPECT_TRUE(catalogue.FileFound());
    EXPECT_EQ(catalogue.CurrentLanguage(), 1);
    EXPECT_EQ(catalogue.String("Error"), "Fehler");
    EXPECT_EQ(catalogue.LanguageCode(), "DE");
    EXPECT_EQ(catalogue.DefaultLanguageCode(), "DE");
    EXPECT_EQ(catalogue.LanguageNames(), (std::vector<std::string>{"English", "Deutsch"}));
}

TEST(LanguageCatalogue, ValidLanguagesRunFromZeroBelowCount) {
    CatalogueFile file(TwoLanguages);
    EXPECT_TRUE(file.catalogue.IsValidLanguage(0));
    EXPECT_TRUE(file.catalogue.IsValidLanguage(1));
    EXPECT_FALSE(file.catalogue.IsValidLanguage(2));
    EXPECT_FALSE(file.catalogue.IsValidLanguage(-1));

    CatalogueFile empty("[Languages]\nCount=0\n");
    EXPECT_FALSE(empty.catalogue.IsValidLanguage(0));
    EXPECT_TRUE(empty.catalogue.LanguageNames().empty());
}

TEST(LanguageCatalogue, AMissingFileGivesEveryLookupItsDefault) {
    test::TempFolder folder;
    LanguageCatalogue catalogue;
    catalogue.Open(folder / "Tralvo.lng");
    EXPECT_FALSE(catalogue.FileFound());
    EXPECT_EQ(catalogue.String("Error"), "Unknown String (ID: Error)");
    EXPECT_EQ(catalogue.Property("TMainForm.PlayBtn.Hint", false), "");
    EXPECT_EQ(catalogue.LanguageCode(), "EN");
    EXPECT_TRUE(catalogue.LanguageNames().empty());
    EXPECT_EQ(catalogue.DefaultLanguage(), 0);
}

TEST(LanguageCatalogue, MissingNamesAndCodesHaveDefaults) {
    CatalogueFile file("[Languages]\nCount=2\n[Language0]\nName=English\n");
    file.catalogue.SetCurrentLanguage(1);
    EXPECT_EQ(file.catalogue.LanguageNames(),
              (std::vector<std::string>{"English", "Unknown Language (ID: 1)"}));
    EXPECT_EQ(file.catalogue.LanguageCode(), "EN");
}

TEST(LanguageCatalogue, StringsAreTrimmedThenUnescaped) {
    CatalogueFile file(TwoLanguages);
    file.catalogue.SetCurrentLanguage(0);
    EXPECT_EQ(file.catalogue.String("TwoLines"), "first\r\nsecond");
    EXPECT_EQ(file.catalogue.String("Padded"), "  padded  ");
    EXPECT_EQ(file.catalogue.String("Absent"), "Unknown String (ID: Absent)");
}

TEST(LanguageCatalogue, AliasesAreFollowedToTheEndOfTheirChain) {
    CatalogueFile file(TwoLanguages);
    const LanguageCatalogue& catalogue = file.catalogue;
    EXPECT_EQ(catalogue.Property("TSettingsForm.HelpBtn.Caption", false), "OK");
    EXPECT_EQ(catalogue.Property("TSettingsForm.Chain.Caption", false), "OK");
    // The alias test runs after unescaping, so "\@" starts an alias too.
    EXPECT_EQ(catalogue.Property("TSettingsForm.CancelBtn.Caption", false), "OK");
}

TEST(LanguageCatalogue, AnAliasToAMissingKeyNamesTheInnermostKeyWhenReported) {
    CatalogueFile file(TwoLanguages);
    const LanguageCatalogue& catalogue = file.catalogue;
    EXPECT_EQ(catalogue.Property("TSettingsForm.Dangling.Caption", false), "");
    EXPECT_EQ(catalogue.Property("TSettingsForm.Dangling.Caption", true),
              "Unknown Property (ID: TSettingsForm.Missing.Caption)");
    EXPECT_EQ(catalogue.Property("TSettingsForm.Empty.Caption", true),
              "Unknown Property (ID: TSettingsForm.Empty.Caption)");
}

TEST(LanguageCatalogue, AliasCyclesCountAsMissing) {
    CatalogueFile file(TwoLanguages);
    const LanguageCatalogue& catalogue = file.catalogue;
    EXPECT_EQ(catalogue.Property("TSettingsForm.Self.Caption", false), "");
    EXPECT_EQ(catalogue.Property("TSettingsForm.Ping.Caption", false), "");
    EXPECT_NE(catalogue.Property("TSettingsForm.Ping.Caption", true).find("Unknown Property"),
              std::string::npos);
    EXPECT_FALSE(catalogue.HasProperty(1, "TSettingsForm.Ping.Caption"));
}

TEST(LanguageCatalogue, HasPropertyFollowsAliasesToAnExistingKey) {
    CatalogueFile file(TwoLanguages);
    const LanguageCatalogue& catalogue = file.catalogue;
    EXPECT_TRUE(catalogue.HasProperty(1, "TSettingsForm.Chain.Caption"));
    EXPECT_FALSE(catalogue.HasProperty(1, "TSettingsForm.Dangling.Caption"));
    EXPECT_FALSE(catalogue.HasProperty(0, "TSettingsForm.OKBtn.Caption"));
    EXPECT_TRUE(catalogue.HasString(0, "error"));
    EXPECT_FALSE(catalogue.HasString(1, "TwoLines"));
}

TEST(ComponentText, KindsDecideTheKeySuffixAndWhichComponentsAreTouched) {
    EXPECT_EQ(ComponentKey("TMainForm", "PlayBtn", ComponentKind::SpeedButton),
              "TMainForm.PlayBtn.Hint");
    EXPECT_EQ(ComponentKey("TMainForm", "PlayerStatusEB", ComponentKind::EditBox),
              "TMainForm.PlayerStatusEB.Text");
    EXPECT_EQ(ComponentKey("TSettingsForm", "UsingFATRB", ComponentKind::RadioButton),
              "TSettingsForm.UsingFATRB.Caption");
    EXPECT_EQ(ComponentKey("TMainForm", "TracksLB", ComponentKind::Other), "");
}

TEST(ComponentText, AComponentWithTagMinusOneKeepsItsText) {
    CatalogueFile file(TwoLanguages);
    const LanguageCatalogue& catalogue = file.catalogue;
    const auto ok =
        TextForComponent(catalogue, "TSettingsForm", "OKBtn", ComponentKind::PushButton, 0);
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(ok->text, "OK");
    EXPECT_EQ(ok->property, ComponentProperty::Caption);
    EXPECT_FALSE(TextForComponent(catalogue, "TSettingsForm", "OKBtn", ComponentKind::PushButton,
                                  KeepTextTag));
    // A missing or empty text leaves the design text in place.
    EXPECT_FALSE(
        TextForComponent(catalogue, "TSettingsForm", "Empty", ComponentKind::PushButton, 0));
    EXPECT_EQ(CaptionForWindow(catalogue, "TSettingsForm", 0), "Einstellungen");
    EXPECT_FALSE(CaptionForWindow(catalogue, "TSettingsForm", KeepTextTag));
}

} // namespace
} // namespace tralvo
