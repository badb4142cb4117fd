// Sound effects over our own mixer: 256 slots of decoded samples, 32 channels of instances.
#pragma once

#include "framework/sound/AudioMixer.h"
#include "framework/sound/DSoundInstance.h"
#include "framework/sound/SampleData.h"
#include "framework/sound/SoundManager.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace Vel {

class DSoundManager : public SoundManager, public MixSource {
public:
    // Milliseconds from an arbitrary start; replaceable so tests need not wait a real second.
    using MsClock = std::function<uint64_t()>;
    // The FILETIME (100 ns units since 1601) of a source file, false when it has none.
    using FileTimeSource = std::function<bool(const std::string& name, uint64_t& fileTime)>;

    // `cacheFolder` (ending in "/") holds decoded copies of ".ogg" and ".au" sounds; empty
    // means no cache. A null mixer gives a manager that loads but plays into nothing.
    DSoundManager(AudioMixer* mixer, std::string cacheFolder);
    ~DSoundManager() override;

    bool IsInitialized() override;
    int LoadSound(const std::string& fileName) override;
    bool LoadSound(int id, const std::string& fileName) override;
    void ReleaseSound(int id) override;
    void SetVolume(double volume) override;
    bool SetBaseVolume(int id, double volume) override;
    bool SetBasePan(int id, int pan) override;
    SoundInstance* CreateInstance(int id) override;
    void ReleaseSounds() override;
    void ReleaseChannels() override;
    double GetMasterVolume() override;
    void SetMasterVolume(double volume) override;
    void Flush() override;
    void SetCooperativeWindow(Plat::Window* window, bool windowed) override;
    void StopAllSounds() override;
    int GetFreeSoundId() override;
    // The number of slots.
    int GetNumSounds() override;

    void MixInto(float* mix, int frames) override;

    void SetClock(MsClock clock);
    void SetFileTimeSource(FileTimeSource source);
    // The samples of a slot (null when empty or out of range), for inspection.
    std::shared_ptr<const SampleData> GetSampleData(int id);
    // Channels holding an instance, released or not.
    int CountUsedChannels();
    // Where the cache copy of a sound lives; empty when that name is not cached.
    std::string CachePath(const std::string& fileName) const;

    // The sound level every instance is multiplied by (what SetVolume stored).
    double GetLevel();

private:
    friend class DSoundInstance;

    struct Slot {
        std::shared_ptr<const SampleData> data;
        std::string fileName;
        double baseVolume = 1.0;
        int basePan = 0;
    };

    static bool ValidId(int id) { return id >= 0 && id < kMaxSounds; }
    std::shared_ptr<const SampleData> Decode(const std::string& fileName);
    void WriteCache(const std::string& fileName, const std::string& sourceName, const SampleData& data);
    void ReclaimChannelsLocked();

    AudioMixer* m_mixer;
    std::string m_cacheFolder;
    MsClock m_clock;
    FileTimeSource m_fileTime;

    // Guards everything below against the mixer thread; instances take it too.
    std::mutex m_mutex;
    Slot m_slots[kMaxSounds];
    std::unique_ptr<DSoundInstance> m_channels[kMaxChannels];
    double m_level = 1.0;
    double m_masterVolume = 1.0;
    uint64_t m_lastReclaimMs = 0;
    bool m_reclaimedOnce = false;
};

} // namespace Vel
