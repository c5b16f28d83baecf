"""What the start-up order tools share: the code sections of an object or archive, and a
function's name less the suffix of a compiler-made copy (.constprop.0, .isra.0, .part.0),
since such copies differ between the profiled build and the production one."""
import re
import subprocess

CODE = '.text$'
_COPY = re.compile(r'(\.(constprop|isra|part)\.\d+)+$')


def base(name):
    return _COPY.sub('', name)


def code_sections(objdump, path):
    """The names of the per-function code sections in an object file or archive."""
    listing = subprocess.run([objdump, '-h', path], check=True, capture_output=True, text=True).stdout
    for line in listing.splitlines():
        f = line.split()
        if len(f) >= 2 and f[0].isdigit() and f[1].startswith(CODE):
            yield f[1]
