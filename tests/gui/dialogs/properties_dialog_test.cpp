// The track properties dialog, opened from both panes of the real main window.
#include "dialog_watch.h"
#include "gui/dialogs/properties_dialog.h"
#include "gui/main_window/main_window.h"
#include "gui/panes/file_list_model.h"
#include "gui/panes/folder_tree.h"
#include "gui/panes/track_list_model.h"
#include "media/writers/id3v2_writer.h"
#include "program_fixture.h"

#include <QListView>
#include <QToolButton>
#include <memory>

namespace tralvo {
namespace {

struct Tags {
    std::string title{};
    std::string artist{};
    std::string album{};
    std::string year{};
    std::string track{};
    std::string comment{};
};

// An MP3 with an ID3v2.3 tag of the fields given (an empty one is left out).
std::string TaggedMp3(const Tags& tags) {
    test::Id3v2TagWriter tag(3);
    for (const auto& [id, text] : {std::pair{"TIT2", &tags.title},
                                   {"TPE1", &tags.artist},
                                   {"TALB", &tags.album},
                                   {"TYER", &tags.year},
                                   {"TRCK", &tags.track}}) {
        if (!text->empty()) {
            tag.Text(id, *text);
        }
    }
    if (!tags.comment.empty()) {
        tag.Comment("eng", "", tags.comment);
    }
    return test::AsString(test::Mp3File(tag.Build()));
}

class PropertiesTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        music = folder.MakeFolder("music");
        player = folder.MakeFolder("player");
        folder.MakeFolder("player/Album");
    }
    void StartWindows() {
        folder.WriteFile("Tralvo.ini", "[Player]\nDrive=" + player + "\n");
        ASSERT_NO_FATAL_FAILURE(StartMainWindow());
        properties = std::make_unique<PropertiesDialog>();
        properties->setParent(main.get(), properties->windowFlags());
        main->SetPropertiesForm(properties.get());
        watch = std::make_unique<test::DialogWatch>(*properties);
        Computer().ShowFolder(music);
        PlayerTree()->SetPath(player + "/Album");
    }
    void TearDown() override {
        watch.reset();
        properties.reset();
        MainWindowFixture::TearDown();
    }
    static void Select(QListView& list, std::initializer_list<int> rows) {
        list.selectionModel()->clearSelection();
        for (const int row : rows) {
            list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Select);
        }
    }

    std::string music;
    std::string player;
    std::unique_ptr<PropertiesDialog> properties;
    std::unique_ptr<test::DialogWatch> watch;
};

TEST_F(PropertiesTest, AComputerFileShowsItsTagsWithUnknownAndNoneForWhatIsMissing) {
    folder.WriteFile("music/Tom & Jerry.mp3",
                     TaggedMp3({.title = "Tom & Jerry", .artist = "Bj\xF6rk"}));
    StartWindows();
    Select(FileList(), {0});
    Control<QToolButton>("MyComputerPropertiesBtn").click();

    ASSERT_EQ(watch->shown.size(), 1u);
    auto& shown = watch->shown[0];
    EXPECT_EQ(shown["FileNameLbl"], "Tom & Jerry.mp3 (MP3)");
    EXPECT_EQ(shown["TitleLbl"], "Tom & Jerry");
    EXPECT_EQ(shown["ArtistLbl"], QString::fromUtf8("Bj\u00F6rk")); // tags are Latin-1
    EXPECT_EQ(shown["AlbumTrackNumberLbl"], "Unknown (Unknown)");
    EXPECT_EQ(shown["YearLbl"], "Unknown");
    EXPECT_EQ(shown["CommentLbl"], "None");
    EXPECT_EQ(shown["AlbumTrackNumberDescLbl"], "Album (Track number):");
    EXPECT_EQ(properties->findChild<QLabel*>("TitleLbl")->textFormat(), Qt::PlainText);
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(PropertiesTest, NothingHappensUnlessExactlyOneEntryIsSelected) {
    folder.WriteFile("music/a.mp3", TaggedMp3({.title = "A"}));
    folder.WriteFile("music/b.mp3", TaggedMp3({.title = "B"}));
    folder.WriteFile("player/Album/c.mp3", TaggedMp3({.title = "C"}));
    folder.WriteFile("player/Album/d.mp3", TaggedMp3({.title = "D"}));
    StartWindows();
    QToolButton& fileProperties = Control<QToolButton>("MyComputerPropertiesBtn");
    Select(FileList(), {0, 1});
    Select(*TracksLB(), {0, 1});
    fileProperties.click();
    Click("MyPlayerPropertiesBtn");
    Select(FileList(), {});
    Select(*TracksLB(), {});
    fileProperties.click();
    Click("MyPlayerPropertiesBtn");
    EXPECT_TRUE(watch->shown.empty());
    EXPECT_TRUE(messages.asked.empty());

    // The one selected entry counts, wherever the current row stands.
    FileList().selectionModel()->setCurrentIndex(FileList().model()->index(0, 0),
                                                 QItemSelectionModel::NoUpdate);
    Select(FileList(), {1});
    fileProperties.click();
    ASSERT_EQ(watch->shown.size(), 1u);
    EXPECT_EQ(watch->shown[0]["TitleLbl"], "B");
}

TEST_F(PropertiesTest, APlayerTrackShowsTheTagsReadWhenTheListWasLoaded) {
    folder.WriteFile("player/Album/song.mp3", TaggedMp3({.title = "Old",
                                                         .artist = "Artist",
                                                         .album = "Album",
                                                         .year = "1997",
                                                         .track = "-3",
                                                         .comment = "Fine"}));
    StartWindows();
    ASSERT_EQ(Pane().Tracks().size(), 1u);
    Select(*TracksLB(), {0});
    Click("MyPlayerPropertiesBtn");
    folder.WriteFile("player/Album/song.mp3", TaggedMp3({.title = "New"}));
    Click("MyPlayerPropertiesBtn");

    ASSERT_EQ(watch->shown.size(), 2u);
    for (auto& shown : watch->shown) {
        EXPECT_EQ(shown["TitleLbl"], "Old");
        EXPECT_EQ(shown["AlbumTrackNumberLbl"], "Album (-3)");
        EXPECT_EQ(shown["YearLbl"], "1997");
        EXPECT_EQ(shown["CommentLbl"], "Fine");
    }
    EXPECT_TRUE(messages.asked.empty());
}

TEST_F(PropertiesTest, AFileWithoutTagGivesTheWarningInsteadOfTheDialog) {
    folder.WriteFile("music/bare.mp3", test::AsString(test::Mp3File({})));
    folder.WriteFile("player/Album/bare.wav", "RIFF");
    StartWindows();
    Select(FileList(), {0});
    Select(*TracksLB(), {0});
    Control<QToolButton>("MyComputerPropertiesBtn").click();
    Click("MyPlayerPropertiesBtn");

    EXPECT_TRUE(watch->shown.empty());
    ASSERT_EQ(messages.asked.size(), 2u);
    for (const MessageRequest& request : messages.asked) {
        EXPECT_EQ(request.parent, "MainForm");
        EXPECT_EQ(request.captionKey, "NoPropertiesTitle");
        EXPECT_EQ(request.textKey, "NoProperties");
        EXPECT_EQ(request.icon, MessageIcon::Warning);
        EXPECT_EQ(request.buttons, MessageButtons::Ok);
    }
    EXPECT_EQ(messages.asked[0].text, "This file has no tag, or its tag could not be read.");
}

} // namespace
} // namespace tralvo
