#!/usr/bin/env bash
# Exits 0 when this machine's kernel runs 32-bit x86 programs (needed for 32-bit Wine), else 1.
# Assembles and runs a static 32-bit program that only exits with 42; needs binutils (as, ld).
set -u
command -v as >/dev/null && command -v ld >/dev/null || exit 1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$dir/t.s"
as --32 -o "$dir/t.o" "$dir/t.s" 2>/dev/null && ld -m elf_i386 -o "$dir/t" "$dir/t.o" 2>/dev/null || exit 1
"$dir/t" 2>/dev/null
[ $? = 42 ]
