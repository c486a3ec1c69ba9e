#pragma once
// The periodic autosave copy ("AutoSave.nuoabc" in the state folder). Each running copy of the
// editor holds its own file: the first takes "AutoSave.nuoabc", further ones "AutoSave-2.nuoabc"
// and so on, each slot held by a lock that the system releases when the process ends, however it
// ends; so a restart after a crash takes the crashed copy's slot over and finds its file there.
// Only a modified text that differs from the last copy is written: a fresh empty document never
// replaces the copy that a crashed session left.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nuo4 {

// "AutoSave.nuoabc" for slot 1, "AutoSave-N.nuoabc" for slot N.
std::string Nuo4AutoSaveFileName(int32_t ASlot);

// The rule alone: write when the text is modified and differs from the last copy written.
class TNuo4AutoSaveRule {
  public:
    bool ShouldSave(bool bModified, std::u16string_view AText) const {
        return bModified && (!FLast || *FLast != AText);
    }
    void Saved(std::u16string_view AText) { FLast = std::u16string(AText); }

  private:
    std::optional<std::u16string> FLast;
};

class TNuo4AutoSave {
  public:
    explicit TNuo4AutoSave(std::string AFolder);
    ~TNuo4AutoSave();
    TNuo4AutoSave(const TNuo4AutoSave&) = delete;
    TNuo4AutoSave& operator=(const TNuo4AutoSave&) = delete;

    // Takes the first free slot (created folder and lock file); false when none can be held.
    bool AcquireSlot(std::string& AError);
    int32_t Slot() const { return FSlot; }
    // The copy of this running editor ("" before a slot is held).
    std::string FilePath() const;
    // Applies the rule and writes atomically; true when nothing had to be written or the write
    // succeeded, false with the reason.
    bool Tick(bool bModified, std::u16string_view AText, std::string& AError);
    // How many times a copy was written.
    int32_t WriteCount() const { return FWriteCount; }

  private:
    std::string FFolder;
    int32_t FSlot = 0;
    int FLockFd = -1;
    int32_t FWriteCount = 0;
    TNuo4AutoSaveRule FRule;
};

}  // namespace nuo4
