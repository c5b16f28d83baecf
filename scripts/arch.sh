# Sourced: settles KARV_ARCH (the Windows target) when the caller has not chosen one.
# The programs are 32-bit; only a machine that cannot start an i386 program builds x86_64.
if [ -z "${KARV_ARCH:-}" ]; then
  # A 96-byte static i386 ELF that exits with 42: the kernel runs it or it does not.
  karv_probe=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$karv_probe"
  chmod +x "$karv_probe"
  karv_rc=0; "$karv_probe" 2>/dev/null || karv_rc=$?
  rm -f "$karv_probe"
  if [ "$karv_rc" = 42 ]; then
    KARV_ARCH=i686
  else
    echo "arch: this machine cannot start i386 programs (probe exit $karv_rc), so 32-bit Wine cannot run; building 64-bit programs (KARV_ARCH=x86_64)" >&2
    KARV_ARCH=x86_64
  fi
  unset karv_probe karv_rc
fi
export KARV_ARCH
