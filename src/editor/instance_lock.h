#pragma once
// Notices other running copies of the editor. Every copy holds a shared lock on one file in the
// state folder for as long as it runs; the system drops it when the process ends, however it
// ends. A copy that starts while any share is held knows another one runs; it still runs.

#include <string>

namespace nuo4 {

class TNuo4InstanceLock {
  public:
    explicit TNuo4InstanceLock(std::string AFolder);
    ~TNuo4InstanceLock();
    TNuo4InstanceLock(const TNuo4InstanceLock&) = delete;
    TNuo4InstanceLock& operator=(const TNuo4InstanceLock&) = delete;

    // Takes this copy's share (once; later calls repeat the first answer). bOthersRunning: some
    // other copy held one at that moment. False with the reason when no lock could be had.
    bool Acquire(bool& bOthersRunning, std::string& AError);

  private:
    std::string FFolder;
    int FFd = -1;
    bool bOthers = false;
};

}  // namespace nuo4
