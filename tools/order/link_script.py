#!/usr/bin/env python3
"""Writes Client's linker script: this linker's default script with the code sections of the
start-up order file first in the code. The order file names functions; a section is taken when
its function's name, less the suffix of a compiler-made copy, is listed.
usage: link_script.py LD OBJDUMP ORDER OUT ARCHIVE..."""
import subprocess
import sys

from sections import CODE, base, code_sections

MARK = '=' * 50
RUNTIME = ['libstdc++.a', 'libsupc++.a', 'libgcc.a', 'libgcc_eh.a', 'libmingw32.a', 'libmingwex.a',
           'libmsvcrt.a', 'libpthread.a', 'libwinpthread.a', 'libkernel32.a', 'libuser32.a', 'libgdi32.a',
           'libcomctl32.a', 'libshell32.a', 'libwininet.a', 'libws2_32.a', 'libadvapi32.a', 'libole32.a',
           'libcomdlg32.a', 'libversion.a', 'libmsimg32.a', 'libwinmm.a', 'libimm32.a']


def main():
    ld, objdump, order, out = sys.argv[1:5]
    wanted = {base(l.strip()) for l in open(order) if l.startswith(CODE)}
    verbose = subprocess.run([ld, '--verbose'], check=True, capture_output=True, text=True).stdout
    parts = verbose.split(MARK)
    if len(parts) < 3:
        sys.exit('link_script: %s shows no default script' % ld)
    script = parts[1].lstrip('\n')
    init = '    KEEP (*(SORT_NONE(.init)))\n'
    if init not in script:
        sys.exit('link_script: the default script has no .init line')
    sections = {name for archive in sys.argv[5:] for name in code_sections(objdump, archive)
                if base(name) in wanted}
    # The rest by their own names: sections of objects that are not in an archive (the
    # program's own), and none at all where a name is no longer made.
    sections |= wanted - {base(s) for s in sections}
    body = '    *(\n' + ''.join('      %s\n' % s for s in sorted(sections)) + '    )\n' if sections else ''
    # Static constructors, and the runtime libraries' code (unprofiled, small, mostly run at
    # start: the C++ runtime, the C runtime, the system calls' import stubs).
    body += '    *(.text.startup .text.startup$* .text.startup.*)\n'
    for lib in RUNTIME:
        body += '    *%s:(.text .text$* .text.*)\n' % lib
    with open(out, 'w') as f:
        f.write(script.replace(init, init + body, 1))


if __name__ == '__main__':
    main()
