#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tralvo::playback {

using StreamHandle = std::uint32_t;

// Stream creation flag: the engine releases the stream by itself once it has been stopped
// or has played to its end.
constexpr std::uint32_t AutoFreeFlag = 0x40000;

// Devices of Init: the "no sound" device plays in real time without output.
constexpr int NoSoundDevice = 0;
constexpr int FirstOutputDevice = 1;

// The high 16 bits of GetVersion when the engine's libraries are the ones it was built for.
constexpr std::uint32_t ExpectedVersion = 0x0203;

// Codes of ErrorGetCode.
enum EngineError : int {
    ErrorNone = 0,
    ErrorMemory = 1,
    ErrorFileOpen = 2,
    ErrorDriver = 3,
    ErrorHandle = 5,
    ErrorFormat = 6,
    ErrorPosition = 7,
    ErrorInit = 8,
    ErrorStart = 9,
    ErrorAlready = 14,
    ErrorIllegalParameter = 20,
    ErrorDevice = 23,
    ErrorNotPlaying = 24,
    ErrorNotAvailable = 37,
    ErrorFileForm = 41,
    ErrorUnknown = -1,
};

constexpr std::uint64_t InvalidBytes = ~std::uint64_t{0};

// The audio engine behind preview playback.
//
// Order of calls: Init (fails while initialised), then streams are created, played,
// paused, stopped, measured and freed, then Free releases the engine with every stream.
// Every method is called from the user-interface thread; decoding and output run on the
// output's own thread. Handles are never reused while the process runs.
class AudioEngine {
public:
    AudioEngine();
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // ExpectedVersion in the high 16 bits when the engine's modules lie beside the program
    // and the FFmpeg and SDL2 libraries they need have the major versions the engine was
    // built with. Loads neither library.
    std::uint32_t GetVersion() const;

    bool Init(int device, int frequency, std::uint32_t flags, void* window, void* classId);
    bool Free();

    // The output volume 0..100 of the whole process, kept across Free and Init; -1 while
    // the engine is not initialised.
    int GetVolume();
    bool SetVolume(int volume);

    // memory must be false; offset and length must be 0 (the whole file).
    StreamHandle StreamCreateFile(bool memory, const std::string& file, std::uint64_t offset,
                                  std::uint64_t length, std::uint32_t flags);
    StreamHandle WmaStreamCreateFile(bool memory, const std::string& file, std::uint64_t offset,
                                     std::uint64_t length, std::uint32_t flags);
    bool StreamFree(StreamHandle handle);

    bool ChannelPlay(StreamHandle handle, bool restart);
    bool ChannelPause(StreamHandle handle);
    bool ChannelStop(StreamHandle handle);
    int ErrorGetCode() const;

    std::uint64_t ChannelGetPosition(StreamHandle handle);
    std::uint64_t ChannelGetLength(StreamHandle handle);
    double ChannelBytes2Seconds(StreamHandle handle, std::uint64_t bytes);
    bool ChannelSetPosition(StreamHandle handle, std::uint64_t position);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The process-wide engine.
AudioEngine& Engine();

} // namespace tralvo::playback
