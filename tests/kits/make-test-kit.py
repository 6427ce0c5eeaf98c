#!/usr/bin/env python3
"""make-test-kit.py ZIP RC: a small kit of the Firebird 3.0 layout (python's zipfile, deflated) and
the resource script that embeds it as RCDATA under the 64-bit kit name."""
import sys
import zipfile

zip_path, rc_path = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("firebird.conf", "RemoteServicePort = 3050\r\n")
    z.writestr("instsvc.exe", b"MZ instsvc" * 100)
    z.writestr("firebird.exe", b"MZ firebird" * 100)
    z.writestr("intl/", b"")
    z.writestr("intl/fbintl.conf", "<intl_module fbintl>\r\n")
with open(rc_path, "w") as rc:
    rc.write('FIREBIRD_3_0_0_64BIT RCDATA "%s"\n' % zip_path.replace("\\", "/"))
