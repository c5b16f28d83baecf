#!/usr/bin/env python3
"""Turns the function offsets a profile run wrote (KARV_ORDER_OUT) into the start-up order file:
the names of the code sections (-ffunction-sections) of the functions entered, sorted, without
the suffixes of compiler-made copies (the linker script takes every copy of a listed function).
usage: make_order.py PROGRAM.exe[.debug] NM OUT OFFSETS... [--only-in ARCHIVE...]
(--only-in keeps the functions that have a section in those archives, the production build's,
which leaves out the many that are inlined there)."""
import subprocess
import sys

from sections import CODE, base as copy_base, code_sections


def main():
    program, nm, out = sys.argv[1:4]
    rest = sys.argv[4:]
    only = rest[rest.index('--only-in') + 1:] if '--only-in' in rest else None
    offset_files = rest[:rest.index('--only-in')] if only is not None else rest
    objdump = nm[:-2] + 'objdump' if nm.endswith('nm') else 'objdump'
    base = None
    for line in subprocess.run([objdump, '-p', program], check=True, capture_output=True,
                               text=True).stdout.splitlines():
        if line.startswith('ImageBase'):
            base = int(line.split()[1], 16)
    names = {}
    for line in subprocess.run([nm, '--defined-only', program], check=True, capture_output=True,
                               text=True).stdout.splitlines():
        parts = line.split()
        if len(parts) != 3:
            continue
        addr, kind, name = int(parts[0], 16), parts[1], parts[2]
        # A function's own section (-ffunction-sections) has a symbol of its name at its start.
        if kind in 'tT' and name.startswith(CODE):
            names[addr] = name
    if base is None:
        sys.exit('make_order: no image base in %s' % program)
    entered = set()
    for offsets in offset_files:
        for line in open(offsets):
            line = line.strip()
            if line and base + int(line, 16) in names:
                entered.add(copy_base(names[base + int(line, 16)]))
    if only is not None:
        entered &= {copy_base(name) for archive in only for name in code_sections(objdump, archive)}
    with open(out, 'w') as f:
        f.write('# The code sections of the functions run from the start to the main window after\n'
                '# login, put together at the head of the code (cmake/StartupOrder.cmake).\n')
        for name in sorted(entered):
            f.write('%s\n' % name)
    print('make_order: %d functions' % len(entered))


if __name__ == '__main__':
    main()
