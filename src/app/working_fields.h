#pragma once
// The main window's working storage that the task runs share; it keeps the last run's content.
#include <string>
#include <vector>

#include "app/operation_log.h"

namespace fbwb {

struct Progress {
    int max = 0;
    int position = 0;
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
};

}  // namespace fbwb
