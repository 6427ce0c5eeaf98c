#pragma once
// A Windows Firewall rule that lets clients reach an installed server: made through the firewall's COM
// objects, never looked for, changed or removed afterwards.
#include <cstdint>
#include <string_view>

namespace fbwb {

// Adds an enabled inbound rule that allows TCP to the local port for the application, in the private and
// public profiles, named and described ruleName, in the group "My Group". COM is initialised for the call
// and uninitialised again, also after an error. Returns 0. Throws std::runtime_error: a failed call of a
// firewall object with "OleException  hibaüzenet = <message>    hibakód = <HRESULT in hexadecimal>", an
// object that cannot be created with "<ProgID>: <system's message> (<HRESULT>)".
int addFirewallRule(std::string_view ruleName, std::string_view application, std::uint16_t port);

// The rule for the server installed in serverFolder: named after the folder, for its firebird.exe (else
// bin\fbserver.exe, else an empty application), on the RemoteServicePort of its firebird.conf (3050 when the
// file, the line or a whole number is missing). A blank or missing folder does nothing. Errors as above.
void allowFbServerInFirewall(std::string_view serverFolder);

}  // namespace fbwb
