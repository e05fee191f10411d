// msvcrt's _setjmp3 and longjmp on its own jump buffer layout: Ebp, Ebx, Edi, Esi, Esp, Eip,
// then the exception registration at fs:0, the try level and the "VC20" cookie. longjmp puts
// the registration back, so an exception chain stays as it was at _setjmp3.
#include "win32/msvcrt_functions.h"

asm(R"(
  .text
  .globl qz_msvcrt_setjmp3
  .type qz_msvcrt_setjmp3, @function
qz_msvcrt_setjmp3:
  movl 4(%esp), %edx
  movl %ebp, 0(%edx)
  movl %ebx, 4(%edx)
  movl %edi, 8(%edx)
  movl %esi, 12(%edx)
  leal 4(%esp), %ecx
  movl %ecx, 16(%edx)
  movl (%esp), %ecx
  movl %ecx, 20(%edx)
  movl %fs:0, %ecx
  movl %ecx, 24(%edx)
  movl $-1, 28(%edx)
  movl $0x56433230, 32(%edx)
  movl $0, 36(%edx)
  xorl %eax, %eax
  ret
  .size qz_msvcrt_setjmp3, .-qz_msvcrt_setjmp3

  .globl qz_msvcrt_longjmp
  .type qz_msvcrt_longjmp, @function
qz_msvcrt_longjmp:
  movl 4(%esp), %edx
  movl 8(%esp), %eax
  testl %eax, %eax
  jnz 1f
  incl %eax
1:
  movl 24(%edx), %ecx
  movl %ecx, %fs:0
  movl 0(%edx), %ebp
  movl 4(%edx), %ebx
  movl 8(%edx), %edi
  movl 12(%edx), %esi
  movl 16(%edx), %esp
  jmp *20(%edx)
  .size qz_msvcrt_longjmp, .-qz_msvcrt_longjmp
)");
