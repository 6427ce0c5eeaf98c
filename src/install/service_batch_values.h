#pragma once
// The values that the service batches of the installation and the uninstallation write into their
// lines: the instance name (and the two service names made of it) and the folder of instsvc.exe.
#include <optional>
#include <string>
#include <string_view>

#include "script/batch_lines.h"

namespace fbwb {

// The error text when the fragment or the bin folder, as the generator writes them (trimmed), cannot
// go into a batch line exactly (refuseBatchValue); nothing when both can.
std::optional<std::string> refuseServiceBatchValues(std::string_view fragment, std::string_view binFolder,
                                                    const HoldsCharacter& holds);

}  // namespace fbwb
