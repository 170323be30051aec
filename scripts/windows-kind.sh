#!/usr/bin/env bash
# Says which Windows suite this machine can run, as one line: "win32" and why,
# where the kernel runs 32-bit programs (and so 32-bit Wine), else "win64" and
# why. Decided by running a tiny 32-bit Linux program, not by guessing from the
# kernel's name. VARNELL_WINDOWS=win64 forces the 64-bit suite (so that both
# can be run on one machine); VARNELL_WINDOWS=win32 forces the 32-bit one.
set -euo pipefail

case "${VARNELL_WINDOWS:-}" in
  win32 | win64) echo "$VARNELL_WINDOWS (forced by VARNELL_WINDOWS)"; exit 0 ;;
  "") ;;
  *) echo "windows-kind: VARNELL_WINDOWS must be win32 or win64, not \"$VARNELL_WINDOWS\"" >&2; exit 2 ;;
esac

# A whole i386 ELF program, 93 bytes: one load segment whose code is
# exit(0) through the 32-bit system call gate (mov eax,1; xor ebx,ebx; int 0x80).
probe=$(mktemp "${TMPDIR:-/tmp}/varnell-i386-probe.XXXXXX")
trap 'rm -f "$probe"' EXIT
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"        # identity: 32-bit, little-endian
printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"  # executable, i386, entry, header table
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >>"$probe"  # no sections
printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$probe"  # PT_LOAD of the whole file
printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"
chmod +x "$probe"

if why=$("$probe" 2>&1); then
  echo "win32 (this kernel runs 32-bit programs)"
else
  why=${why##*: }
  echo "win64 (this kernel runs no 32-bit programs: ${why:-exit status $?})"
fi
