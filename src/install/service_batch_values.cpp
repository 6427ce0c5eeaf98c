#include "install/service_batch_values.h"

#include "core/text.h"
#include "install/texts_install.h"

namespace fbwb {

std::optional<std::string> refuseServiceBatchValues(std::string_view fragment, std::string_view binFolder,
                                                    const HoldsCharacter& holds) {
    using namespace texts_install;
    // The service names are ASCII prefixes + the fragment, and the instsvc path the folder + an
    // ASCII name: checking the two values covers every value of the lines.
    for (auto refused : {refuseBatchValue(trim(fragment), kFieldServiceName, holds),
                         refuseBatchValue(trim(binFolder), kFieldInstallFolder, holds)}) {
        if (refused) return refused;
    }
    return std::nullopt;
}

}  // namespace fbwb
