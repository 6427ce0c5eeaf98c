#pragma once
// The main window's working storage that the task runs share; it keeps the last run's content.
#include <functional>
#include <string>
#include <vector>

#include "core/html5_producer.h"
#include "core/operation_log.h"

namespace fbwb {

// Progress of a database run; the main window shows it while the run lasts.
class Progress {
public:
    int max() const { return max_; }
    int position() const { return position_; }
    void setMax(int max) {
        max_ = max;
        changed();
    }
    void setPosition(int position) {
        position_ = position;
        changed();
    }
    void setListener(std::function<void(int max, int position)> listener) { listener_ = std::move(listener); }

private:
    void changed() {
        if (listener_) listener_(max_, position_);
    }
    int max_ = 0;
    int position_ = 0;
    std::function<void(int, int)> listener_;
};

struct WorkingFields {
    std::vector<std::string> mActBat;   // lines of the batch file being composed
    std::string edBatFn;                // the batch file that mActBat is saved to
    std::string edTempFn;               // the current temporary output file
    std::string edActFdbFn;             // the database the settings step works on
    std::vector<std::string> mGstatRes; // output read back from gstat
    std::string mHtmMsg;                // text of the message page
    Progress pbOp;
    OperationLog mLog;
    THtml5Producer htmlLog;             // the report page of the database runs
    bool stopAfterCurrent = false;      // asked for while a database run lasts: no further database starts
};

}  // namespace fbwb
