; A CP/M program that checks the console path of cpu_bench: it prints a
; greeting with BDOS function 9, sums 1..100 and prints the sum (5050) digit
; by digit with function 2, then leaves through 0000h.
; Assembled by hand into sum.com; address and bytes on the right.
;
        ORG 0100h
        LHLD 0006h                              ; 0100  2A 06 00
        SPHL                                    ; 0103  F9
        LXI D,hello                             ; 0104  11 55 01
        MVI C,9                                 ; 0107  0E 09
        CALL 0005h                              ; 0109  CD 05 00
        LXI H,0                                 ; 010C  21 00 00
        LXI D,100                               ; 010F  11 64 00
sum:    DAD D                                   ; 0112  19
        DCX D                                   ; 0113  1B
        MOV A,D                                 ; 0114  7A
        ORA E                                   ; 0115  B3
        JNZ sum                                 ; 0116  C2 12 01
        LXI D,-1000                             ; 0119  11 18 FC
        CALL digit                              ; 011C  CD 3C 01
        LXI D,-100                              ; 011F  11 9C FF
        CALL digit                              ; 0122  CD 3C 01
        LXI D,-10                               ; 0125  11 F6 FF
        CALL digit                              ; 0128  CD 3C 01
        LXI D,-1                                ; 012B  11 FF FF
        CALL digit                              ; 012E  CD 3C 01
        LXI D,crlf                              ; 0131  11 74 01
        MVI C,9                                 ; 0134  0E 09
        CALL 0005h                              ; 0136  CD 05 00
        JMP 0000h                               ; 0139  C3 00 00
digit:  MVI A,'0'-1                             ; 013C  3E 2F
dloop:  INR A                                   ; 013E  3C
        DAD D                                   ; 013F  19
        JC dloop                                ; 0140  DA 3E 01
        MOV B,A                                 ; 0143  47
        MOV A,E                                 ; 0144  7B
        CMA                                     ; 0145  2F
        MOV E,A                                 ; 0146  5F
        MOV A,D                                 ; 0147  7A
        CMA                                     ; 0148  2F
        MOV D,A                                 ; 0149  57
        INX D                                   ; 014A  13
        DAD D                                   ; 014B  19
        PUSH H                                  ; 014C  E5
        MOV E,B                                 ; 014D  58
        MVI C,2                                 ; 014E  0E 02
        CALL 0005h                              ; 0150  CD 05 00
        POP H                                   ; 0153  E1
        RET                                     ; 0154  C9
hello:  DB 'Hello from CP/M',13,10,'Sum 1..100 = $'; 0155  48 65 6C 6C ...
crlf:   DB 13,10,'$'                            ; 0174  0D 0A 24
