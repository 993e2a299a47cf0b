#include "i18n/catalogue_keys.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tralvo {

namespace {

using Kind = ComponentKind;

// Every key the program fetches with GetLangString, sorted by name.
constexpr std::array<std::string_view, 86> StringKeys = {
    "Album",
    "AppearanceNeedRestart",
    "AppearanceNeedRestartMsg",
    "Artist",
    "ChangeDirAlthoughChanged",
    "CleanChanged",
    "CleanError",
    "CleanFolder",
    "CleanFolderTitle",
    "Comment",
    "CopyError",
    "CopyingFile",
    "CreateTempFolderError",
    "CurrentDrive",
    "DeleteError",
    "DeleteFile",
    "DeleteFiles",
    "Drive",
    "Error",
    "ExitAlthoughChanged",
    "ExportPlaylistError",
    "ExportPlaylistLeftOut",
    "ExportPlaylistTitle",
    "FileName",
    "FirstRun",
    "FirstRunMsg",
    "FolderBusy",
    "JournalError",
    "JournalErrorPutBack",
    "JunkNote",
    "MoreJunk",
    "MoveBackError",
    "MoveToTempFolderError",
    "NamedPlayerVolume",
    "NoHelp",
    "NoJunk",
    "None",
    "NoPlayerVolume",
    "NoProperties",
    "NoPropertiesTitle",
    "NoRoomToRecreate",
    "OrderProbeHint",
    "NothingToUndo",
    "PlayerDriveNA",
    "PlayerDriveNAMsg",
    "PlayerDriveNotExists",
    "PlayerStatus",
    "PlayerVolume",
    "PlaylistFiles",
    "PlaylistMalformed",
    "PlaylistNoTracks",
    "PlaylistNotOnPlayer",
    "PlaylistTitle",
    "PlaylistUnreadable",
    "ProbeFolderTaken",
    "ProbeNoRoom",
    "ProbeRemoveError",
    "ProbeSoundsMissing",
    "ProbeWriteError",
    "RecoverDone",
    "RecoverFolder",
    "RecoverFolderTitle",
    "RecoverIncomplete",
    "RecreateError",
    "RecreateTracks",
    "RefreshAlthoughChanged",
    "RemoveTempFileError",
    "RemoveTempFolderError",
    "RenameError",
    "ReplaceFile",
    "ReservedEntry",
    "RunStopped",
    "SaveSettingsError",
    "SendPlaylistMissing",
    "SendPlaylistTitle",
    "SetCreationTimeError",
    "Title",
    "TrackNumber",
    "TralvoDrive",
    "TralvoFailed",
    "TrashFile",
    "TrashFiles",
    "UndoNotPossible",
    "UndoTitle",
    "Unknown",
    "Year",
};

// The windows' components in their component order. Panels, lists, combo boxes, images,
// shapes, tool bars, trees, track bars, timers and tool-bar separators carry no catalogue
// text and are left out, as are the about box's two version labels (tag KeepTextTag).
constexpr std::array<CatalogueComponent, 77> Components = {{
    // The main window: bottom panel with the player panel, then the computer pane, then
    // the player pane.
    {"TMainForm", "PlayerStatusEB", Kind::EditBox},
    {"TMainForm", "PlayBtn", Kind::SpeedButton},
    {"TMainForm", "PauseBtn", Kind::SpeedButton},
    {"TMainForm", "StopBtn", Kind::SpeedButton},
    {"TMainForm", "PlayerPB", Kind::ProgressBar},
    {"TMainForm", "VolumeLbl", Kind::Label},
    {"TMainForm", "ProgressPB", Kind::ProgressBar},
    {"TMainForm", "TralvoBtn", Kind::PushButton},
    {"TMainForm", "ExitBtn", Kind::PushButton},
    {"TMainForm", "MyComputerRefreshBtn", Kind::ToolButton},
    {"TMainForm", "MyComputerPropertiesBtn", Kind::ToolButton},
    {"TMainForm", "UploadBtn", Kind::ToolButton},
    {"TMainForm", "MyComputerDeleteBtn", Kind::ToolButton},
    {"TMainForm", "SettingsBtn", Kind::ToolButton},
    {"TMainForm", "HelpBtn", Kind::ToolButton},
    {"TMainForm", "AboutBtn", Kind::ToolButton},
    {"TMainForm", "MyComputerLbl", Kind::Label},
    {"TMainForm", "MyPlayerRefreshBtn", Kind::ToolButton},
    {"TMainForm", "MyPlayerPropertiesBtn", Kind::ToolButton},
    {"TMainForm", "DownloadBtn", Kind::ToolButton},
    {"TMainForm", "MyPlayerDeleteBtn", Kind::ToolButton},
    {"TMainForm", "MyPlayerCleanBtn", Kind::ToolButton},
    {"TMainForm", "UpBtn", Kind::ToolButton},
    {"TMainForm", "DownBtn", Kind::ToolButton},
    {"TMainForm", "SortBtn", Kind::ToolButton},
    {"TMainForm", "ReverseSortBtn", Kind::ToolButton},
    {"TMainForm", "ShuffleBtn", Kind::ToolButton},
    {"TMainForm", "PlaylistBtn", Kind::ToolButton},
    {"TMainForm", "ExportPlaylistBtn", Kind::ToolButton},
    {"TMainForm", "MyPlayerLbl", Kind::Label},

    // The settings dialog: player column, appearance and sorting column, buttons.
    {"TSettingsForm", "PlayerDriveLbl", Kind::Label},
    {"TSettingsForm", "PlayerTypeLbl", Kind::Label},
    {"TSettingsForm", "UsingFATRB", Kind::RadioButton},
    {"TSettingsForm", "SortingByFilenameRB", Kind::RadioButton},
    {"TSettingsForm", "Only83FileNamesCB", Kind::CheckBox},
    {"TSettingsForm", "SortingByFileCreationTimeRB", Kind::RadioButton},
    {"TSettingsForm", "ProbeBtn", Kind::PushButton},
    {"TSettingsForm", "CompListBtn", Kind::PushButton},
    {"TSettingsForm", "AppearanceLbl", Kind::Label},
    {"TSettingsForm", "LanguageLbl", Kind::Label},
    {"TSettingsForm", "LargeFileIconsCB", Kind::CheckBox},
    {"TSettingsForm", "SortLbl", Kind::Label},
    {"TSettingsForm", "Sort1Lbl", Kind::Label},
    {"TSettingsForm", "Sort2Lbl", Kind::Label},
    {"TSettingsForm", "Sort3Lbl", Kind::Label},
    {"TSettingsForm", "NaturalSortCB", Kind::CheckBox},
    {"TSettingsForm", "HelpBtn", Kind::PushButton},
    {"TSettingsForm", "OKBtn", Kind::PushButton},
    {"TSettingsForm", "CancelBtn", Kind::PushButton},

    // The properties dialog, top to bottom. The captions and values are replaced when the
    // dialog is created and shown, but the catalogue still gives them their first text.
    {"TPropertiesForm", "FileNameLbl", Kind::Label},
    {"TPropertiesForm", "ArtistDescLbl", Kind::Label},
    {"TPropertiesForm", "ArtistLbl", Kind::Label},
    {"TPropertiesForm", "TitleDescLbl", Kind::Label},
    {"TPropertiesForm", "TitleLbl", Kind::Label},
    {"TPropertiesForm", "AlbumTrackNumberDescLbl", Kind::Label},
    {"TPropertiesForm", "AlbumTrackNumberLbl", Kind::Label},
    {"TPropertiesForm", "YearDescLbl", Kind::Label},
    {"TPropertiesForm", "YearLbl", Kind::Label},
    {"TPropertiesForm", "CommentDescLbl", Kind::Label},
    {"TPropertiesForm", "CommentLbl", Kind::Label},
    {"TPropertiesForm", "OKBtn", Kind::PushButton},

    // The about box, without TralvoLbl and CopyrightLbl.
    {"TAboutForm", "TranslationLbl", Kind::Label},
    {"TAboutForm", "UpdatesBtn", Kind::PushButton},
    {"TAboutForm", "LicenseLbl", Kind::Label},
    {"TAboutForm", "LicenseBtn", Kind::PushButton},
    {"TAboutForm", "OKBtn", Kind::PushButton},

    // The order probe: its three pages, then the buttons.
    {"TOrderProbeForm", "IntroLbl", Kind::Label},
    {"TOrderProbeForm", "WriteBtn", Kind::PushButton},
    {"TOrderProbeForm", "WritingLbl", Kind::Label},
    {"TOrderProbeForm", "WritingPB", Kind::ProgressBar},
    {"TOrderProbeForm", "QuestionLbl", Kind::Label},
    {"TOrderProbeForm", "OneRB", Kind::RadioButton},
    {"TOrderProbeForm", "TwoRB", Kind::RadioButton},
    {"TOrderProbeForm", "ThreeRB", Kind::RadioButton},
    {"TOrderProbeForm", "NoneRB", Kind::RadioButton},
    {"TOrderProbeForm", "OKBtn", Kind::PushButton},
    {"TOrderProbeForm", "CancelBtn", Kind::PushButton},
}};

// The main window is missing here: its tag is KeepTextTag and its caption stays "Tralvo!".
constexpr std::array<std::string_view, 4> Windows = {
    "TSettingsForm",
    "TPropertiesForm",
    "TAboutForm",
    "TOrderProbeForm",
};

// Keys that the program reads with GetLangProperty besides those ApplyLanguage forms.
constexpr std::array<std::string_view, 1> DirectPropertyKeys = {
    "TMainForm.PlayerStatusEB.Text",
};

char FoldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Catalogue keys are compared without regard to the case of A to Z.
bool SameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) {
            return false;
        }
    }
    return true;
}

void AddKey(std::vector<std::string>& keys, std::string key) {
    if (key.empty()) {
        return;
    }
    for (const std::string& known : keys) {
        if (SameKey(known, key)) {
            return;
        }
    }
    keys.push_back(std::move(key));
}

} // namespace

std::span<const std::string_view> ProgramStringKeys() {
    return StringKeys;
}

std::span<const CatalogueComponent> ProgramComponents() {
    return Components;
}

std::span<const std::string_view> CataloguedWindows() {
    return Windows;
}

std::vector<std::string> ProgramPropertyKeys() {
    std::vector<std::string> keys;
    keys.reserve(Windows.size() + Components.size() + DirectPropertyKeys.size());
    for (std::string_view window : Windows) {
        AddKey(keys, WindowCaptionKey(window));
    }
    for (const CatalogueComponent& component : Components) {
        AddKey(keys, ComponentKey(component.windowClass, component.component, component.kind));
    }
    for (std::string_view key : DirectPropertyKeys) {
        AddKey(keys, std::string(key));
    }
    return keys;
}

} // namespace tralvo
