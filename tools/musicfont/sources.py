"""Installed fonts the generator borrows outlines from.

Every entry names the Debian package that installs the file and the licence
text shipped beside the built font. Only fonts whose licences allow
modification and redistribution are listed.
"""

import os

SOURCES = {
    "NotoSans-Bold": {
        "path": "/usr/share/fonts/truetype/noto/NotoSans-Bold.ttf",
        "package": "fonts-noto-core",
        "license": "OFL-1.1",
        "license_file": "Noto-OFL.txt",
    },
    "NotoSans-Regular": {
        "path": "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf",
        "package": "fonts-noto-core",
        "license": "OFL-1.1",
        "license_file": "Noto-OFL.txt",
    },
    "NotoMusic-Regular": {
        "path": "/usr/share/fonts/truetype/noto/NotoMusic-Regular.ttf",
        "package": "fonts-noto-core",
        "license": "OFL-1.1",
        "license_file": "Noto-OFL.txt",
    },
    "LinLibertine-Bold": {
        "path": "/usr/share/fonts/opentype/linux-libertine/LinLibertine_RB.otf",
        "package": "fonts-linuxlibertine",
        "license": "OFL-1.1 (dual GPL-2+ with font exception)",
        "license_file": "LinuxLibertine-OFL.txt",
    },
    "LinLibertine-BoldItalic": {
        "path":
        "/usr/share/fonts/opentype/linux-libertine/LinLibertine_RBI.otf",
        "package": "fonts-linuxlibertine",
        "license": "OFL-1.1 (dual GPL-2+ with font exception)",
        "license_file": "LinuxLibertine-OFL.txt",
    },
    "KaushanScript-Regular": {
        "path":
        "/usr/share/fonts/opentype/kaushanscript/KaushanScript-Regular.otf",
        "package": "fonts-kaushanscript",
        "license": "OFL-1.1",
        "license_file": "KaushanScript-OFL.txt",
    },
    "DejaVuSans": {
        "path": "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "package": "fonts-dejavu-core",
        "license": "Bitstream Vera / DejaVu changes public domain",
        "license_file": "DejaVu-LICENSE.txt",
    },
}

# Debian copyright files the licence texts are taken from.
LICENSE_ORIGINS = {
    "Noto-OFL.txt": "/usr/share/doc/fonts-noto-core/copyright",
    "LinuxLibertine-OFL.txt": "/usr/share/doc/fonts-linuxlibertine/copyright",
    "KaushanScript-OFL.txt": "/usr/share/doc/fonts-kaushanscript/copyright",
    "DejaVu-LICENSE.txt": "/usr/share/doc/fonts-dejavu-core/copyright",
}


def path(name):
    p = SOURCES[name]["path"]
    if not os.path.exists(p):
        raise SystemExit("missing source font %s: apt-get install -y %s" %
                         (p, SOURCES[name]["package"]))
    return p
