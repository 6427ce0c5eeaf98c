#pragma once
// Removing the two services of a server instance with a batch file that runs to its end, and running
// such a service batch (the installation's too).
#include <string_view>

namespace fbwb {

// Writes fbUninstall_<fragment>.bat into the batch folder (created when missing): stop and delete the
// guardian service, stop the server service, remove it with the instsvc.exe of the server folder (its
// top or its bin folder), delete it. Then runs it hidden to its end; its outcome is not read. A
// fragment or instsvc folder that a batch line cannot hold raises the refusal's text before anything
// is written; a folder that cannot be made, a failed save or wait raise std::runtime_error too.
void uninstallFirebirdServices(std::string_view fragment, std::string_view serverFolder, std::string_view batchFolder);

// Runs the batch file in a hidden window and waits for its end (RunProgramSync's bound). The path is
// quoted: unquoted, a path with blanks would first be tried as a shorter program ("C:\Program.exe").
void runInstallBatch(std::string_view batchFile);

}  // namespace fbwb
