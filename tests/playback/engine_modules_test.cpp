#include "fixtures.h"
#include "platform/file_system.h"
#include "playback/audio_engine.h"
#include "playback/decoder.h"
#include "playback/engine_libraries.h"
#include "playback/library_search.h"
#include "playback/module_loader.h"
#include "playback/output_format.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <link.h>
#include <string>
#include <vector>

namespace tralvo::playback {
namespace {

// The bare file names of every object loaded in the process.
std::vector<std::string> LoadedLibraries() {
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) {
            const std::string path = info->dlpi_name != nullptr ? info->dlpi_name : "";
            static_cast<std::vector<std::string>*>(data)->push_back(
                path.substr(path.rfind('/') + 1));
            return 0;
        },
        &names);
    return names;
}

bool Loaded(const std::string& prefix) {
    const std::vector<std::string> names = LoadedLibraries();
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return name.starts_with(prefix); });
}

bool IsFfmpeg(const std::string& name) {
    return name.starts_with("libav") || name.starts_with("libsw");
}

// Points the engine at another module folder for one test.
class ModuleFolderScope {
public:
    explicit ModuleFolderScope(const std::string& folder) : previous_(ModuleFolder()) {
        SetModuleFolder(folder);
    }
    ~ModuleFolderScope() { SetModuleFolder(previous_); }
    ModuleFolderScope(const ModuleFolderScope&) = delete;
    ModuleFolderScope& operator=(const ModuleFolderScope&) = delete;

private:
    std::string previous_;
};

void CopyModule(const std::string& file, const std::string& to) {
    std::error_code error;
    std::filesystem::copy_file(ModuleFolder() + file, to, error);
    ASSERT_FALSE(error) << file << ": " << error.message();
}

TEST(EngineModules, TheDecoderModuleDecodesWithTheLibrariesTheVersionCheckLooksFor) {
    const auto decoder = Decoder::Open(test::Fixture("tone.wav"));
    ASSERT_NE(decoder, nullptr);
    EXPECT_EQ(decoder->LengthBytes(), 3 * BytesPerSecond);
    const std::vector<std::string> expected = DecoderLibraries();
    for (const std::string& name : LoadedLibraries()) {
        if (IsFfmpeg(name)) {
            EXPECT_NE(std::find(expected.begin(), expected.end(), name), expected.end())
                << name << " is loaded but not checked";
        }
    }
    for (const std::string& soname : expected) {
        EXPECT_TRUE(Loaded(soname)) << soname << " is checked but not needed";
    }
}

// Each step in a process of its own, which starts without either library.
int LoadingSteps() {
    auto fail = [](const char* step) {
        std::fprintf(stderr, "%s\n", step);
        return 1;
    };
    if (Loaded("libavcodec") || Loaded("libSDL2")) {
        return fail("FFmpeg or SDL2 was there from the start");
    }
    AudioEngine engine;
    if (engine.GetVersion() >> 16 != ExpectedVersion) {
        return fail("the version check failed");
    }
    // The start-up volume read where no device is wanted, and a stream that is not played.
    engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr);
    engine.GetVolume();
    if (engine.StreamCreateFile(false, test::Fixture("tone.ogg"), 0, 0, 0) == 0) {
        return fail("the stream was not made");
    }
    engine.Free();
    if (Loaded("libavcodec") || Loaded("libSDL2")) {
        return fail("the version check, the silent device or a stream not played loaded a library");
    }
    if (!Decoder::Open(test::Fixture("tone.mp3")) || !Loaded("libavcodec")) {
        return fail("decoding did not load FFmpeg");
    }
    if (Loaded("libSDL2")) {
        return fail("decoding loaded SDL2");
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!engine.Init(FirstOutputDevice, 44100, 0, nullptr, nullptr) || Loaded("libSDL2")) {
        return fail("initialising the first output device loaded SDL2 (the start-up volume)");
    }
    const StreamHandle song =
        engine.StreamCreateFile(false, test::Fixture("tone.mp3"), 0, 0, AutoFreeFlag);
    if (song == 0 || !engine.ChannelPlay(song, false) || !Loaded("libSDL2")) {
        return fail("playing on the first output device did not load SDL2");
    }
    engine.Free();
    return 0;
}

TEST(EngineModules, FfmpegAndSdlAreLoadedOnlyWhenFirstNeeded) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process, not a fork of this one
    EXPECT_EXIT(std::_Exit(LoadingSteps()), testing::ExitedWithCode(0), "");
}

TEST(EngineModules, WithoutTheModulesStreamsFailCleanlyAndTheSilentDevicePlays) {
    const test::TempFolder empty;
    const ModuleFolderScope scope(empty.path());
    EXPECT_EQ(AudioEngine().GetVersion(), 0u);
    EXPECT_EQ(Decoder::Open(test::Fixture("tone.mp3")), nullptr);

    AudioEngine engine;
    EXPECT_FALSE(engine.Init(FirstOutputDevice, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(engine.ErrorGetCode(), ErrorDevice);
    ASSERT_TRUE(engine.Init(NoSoundDevice, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(engine.StreamCreateFile(false, test::Fixture("tone.mp3"), 0, 0, AutoFreeFlag), 0u);
    EXPECT_EQ(engine.ErrorGetCode(), ErrorFileForm);

    // A stream that is not played is made without a decoder; playing or measuring it then
    // fails as for a bad file.
    const StreamHandle idle = engine.StreamCreateFile(false, test::Fixture("tone.ogg"), 0, 0, 0);
    ASSERT_NE(idle, 0u);
    EXPECT_FALSE(engine.ChannelPlay(idle, false));
    EXPECT_EQ(engine.ErrorGetCode(), ErrorFileForm);
    EXPECT_EQ(engine.ChannelGetLength(idle), InvalidBytes);
    EXPECT_TRUE(engine.Free());
}

TEST(EngineModules, AFileThatIsNotTheRightModuleIsRefused) {
    const test::TempFolder folder;
    folder.WriteFile(DecoderModuleFile(), "not a shared object");
    CopyModule(DecoderModuleFile(), folder / OutputModuleFile()); // no output entry in it
    const ModuleFolderScope scope(folder.path());
    EXPECT_EQ(Decoder::Open(test::Fixture("tone.mp3")), nullptr);
    // The output module is only looked at when something plays; then the silent output
    // stands in for the device it cannot give.
    AudioEngine engine;
    ASSERT_TRUE(engine.Init(FirstOutputDevice, 44100, 0, nullptr, nullptr));
    EXPECT_TRUE(engine.Free());
}

TEST(EngineModules, TheVersionCheckWantsBothModules) {
    for (const std::string& missing : {DecoderModuleFile(), OutputModuleFile()}) {
        const test::TempFolder folder;
        for (const std::string& file : {DecoderModuleFile(), OutputModuleFile()}) {
            if (file != missing) {
                CopyModule(file, folder / file);
            }
        }
        const ModuleFolderScope scope(folder.path());
        EXPECT_EQ(AudioEngine().GetVersion(), 0u) << "without " << missing;
    }
}

TEST(EngineModules, AreFoundBesideAPortableProgramElseInTheInstalledTreesModuleFolder) {
    const test::TempFolder folder;
    const std::string bin = folder.MakeFolder("usr/bin") + "/";
    const std::string modules = folder.MakeFolder("usr/lib/tralvo") + "/";
    for (const std::string& file : {DecoderModuleFile(), OutputModuleFile()}) {
        CopyModule(file, modules + file);
    }
    EXPECT_EQ(ModuleFolderFor(bin, SystemFileSystem()), modules);
    {
        const ModuleFolderScope scope(ModuleFolderFor(bin, SystemFileSystem()));
        EXPECT_NE(AudioEngine().GetVersion(), 0u);
    }
    CopyModule(DecoderModuleFile(), bin + DecoderModuleFile());
    EXPECT_EQ(ModuleFolderFor(bin, SystemFileSystem()), bin);
}

TEST(LibrarySearch, FindsInstalledSonamesAndNotOthers) {
    EXPECT_TRUE(SharedLibraryResolves("libc.so.6"));
    for (const std::string& soname : OutputLibraries()) {
        EXPECT_TRUE(SharedLibraryResolves(soname)) << soname;
    }
    EXPECT_FALSE(SharedLibraryResolves("libavformat.so.1"));
    EXPECT_FALSE(SharedLibraryResolves(""));
    EXPECT_FALSE(SharedLibraryResolves("/lib/x86_64-linux-gnu/libc.so.6"));
}

} // namespace
} // namespace tralvo::playback
