#!/usr/bin/env python3
"""Measures a running dorvik410-sim unit's output rate against the line.

usage: pace_check.py LINK [COUNT]
Asks the unit behind LINK for COUNT (default 20) read-back blocks of a 4 KiB
chip, one at a time, and prints the time taken as a ratio to the replies'
own wire time at 1,000,000 baud, 11 bits a byte (about 1.1 when paced: the
requests and the round trips add the rest; near 0 with --unpaced).
"""
import os, tty, select, time, sys
def c16(b):
    r=0
    for x in b:
        k=0x4A12 if r&1 else 0
        r=((r>>1)^x^k)&0xFFFF
    return r
def frame(p):
    c=c16(p); p=p+bytes([c&0xFF,c>>8])
    out=bytearray([0xC0])
    for x in p:
        if x==0xC0: out+=b'\xdb\xdc'
        elif x==0xDB: out+=b'\xdb\xdd'
        else: out.append(x)
    return bytes(out)+b'\xc0'+b'\xff'*5
s=bytearray(64); s[8]=4
pkt=bytes([0x9B,0,0,0x45,0x80,2,0x40,0])+bytes(s)
fd=os.open(sys.argv[1], os.O_RDWR|os.O_NOCTTY); tty.setraw(fd)
n=int(sys.argv[2]) if len(sys.argv)>2 else 20; total=0; t0=time.time()
for i in range(n):
    os.write(fd, frame(pkt)); got=b''
    while not (len(got)>1 and got.endswith(b'\xc0')):
        r,_,_=select.select([fd],[],[],2)
        if not r: break
        got+=os.read(fd,8192)
    total+=len(got)
dt=time.time()-t0
print(f"{n} read-back replies, {total} bytes in {dt*1000:.1f} ms; wire time {total*11e-3:.1f} ms; ratio {dt/(total*11e-6):.3f}")
