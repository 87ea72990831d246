; =============================================================================
;  OSTROVIK TEST ROM - the stand-in firmware of the DU-01 emulator
;
;  Our own 8080 program for the 16 KB ROM at 0C000h-0FFFFh, assembled at build
;  time by asm8080 and wrapped into bios.dat (22-byte text header + 16,384
;  bytes). It gives a fresh checkout a machine that boots, shows text, reads
;  the keyboard and loads tape files, and it keeps every entry point and RAM
;  cell that the emulator relies on.
;
;  Commands (typed at the ">" prompt, ended with Enter):
;    L          load the next file from tape: the emulator's tape dialog
;               opens, the header is checked and shown, the data is stored
;               at its start address and the program is started at its run
;               address with the warm-start return address on the stack.
;    L NAME     the same, after storing NAME (up to six characters, padded
;               with blanks) as the wanted tape name at 0BE8Ch.
;  Keys: Latin letters, digits and signs; Shift with a digit or sign gives
;  the sign above it; the RUS key switches to Cyrillic letters (KOI-7 codes
;  60h-7Eh), the LAT key back to Latin; Backspace deletes, Enter ends the
;  line. Every new key press sounds a short beep on port C2 bit 0.
;
;  BASIC stand-in (RAM 1054h, where a loaded BASIC program is started): clears
;  the screen, shows the program's address range (words at 0243h/0245h) and
;  its first bytes in hex, then prompts "OK". The command RUN shows the
;  program's printable bytes as text, a zero byte or 13 ending a line; an
;  arrow key held meanwhile stops it with "BREAK" unless the byte at 058Ch
;  has been patched from ORA A to XRA A. Any other command answers "?".
;
;  Entry points (fixed):
;    0C000h  cold start (the CPU runs into it through the zeroed RAM)
;    0DD94h  tape load: wait for the tape leader (the emulator traps it and
;            opens its tape dialog instead)
;    0DDCAh  read a tape word: L = first byte, H = second byte
;    0DF68h  console output of the character in C; keeps every register.
;            13 = new line, 10 = ignored, 127 = delete the character left
;            of the cursor, other codes below 32 = ignored, 32-255 = glyph
;            from the font at 0B000h + 8 x code. Scrolls at the bottom.
;    0E4BEh  read a tape byte into A (without a tape signal: 0FFh)
;    0E4D0h  tape leader wait (a short delay)
;    0F803h  wait for a key: A = its character (the picture viewer calls it,
;            so a picture stays on the screen until a key is pressed)
;
;  Screen: 256 x 256 dots, 64 video bytes a line at 4000h-7FFFh while port
;  C2 bit 1 is 0. The firmware keeps bit 1 = 1 (all RAM) and maps video RAM
;  in only while it draws. Text is 32 x 32 cells of 8 x 8 dots; a cell is
;  two video bytes on each of eight lines. Palette 4Ch: colour index 0
;  (background) blue, index 3 (ink) white; a glyph row g becomes the bytes
;  NIBHI[g] and NIBLO[g], each dot in both bit planes.
;
;  Memory:
;    0243h   word: start of the BASIC program (set to 2000h at cold start)
;    0245h   word: end of the BASIC program, exclusive (2000h at cold start)
;    02FDh   warm start: LXI SP,0AFC1h / JMP WARM (copied at cold start)
;    058Ch   BASIC arrow-key check: ORA A / RZ / JMP break (copied)
;    1054h   BASIC stand-in (copied at cold start)
;    2000h   BASIC program area
;    0AFC1h  stack top of the monitor and of started programs; the warm
;            start keeps the return address 02FDh at 0AFC1h
;    0B100h  font, codes 32-287, one byte per dot row, bit 7 leftmost:
;            32-95 ASCII, 96-126 Cyrillic capitals (KOI-7), 127 a block,
;            128-287 blank
;    0BE00h  console and keyboard variables (below)
;    0BE40h  input line, 31 bytes
;    0BE8Ch  six-byte tape name (served by the emulator in place of the
;            name on tape)
;    0BF00h  top of the console's own stack (0BEE0h-0BEFFh)
; =============================================================================

PALETTE EQU     4Ch             ; background blue, ink white
PROGST  EQU     2000h           ; BASIC program area
STKTOP  EQU     0AFC1h          ; stack top, as the warm start sets it

BASPTR  EQU     0243h           ; BASIC program start and end words
RAMWRM  EQU     02FDh           ; warm-start return address
BRKCHK  EQU     058Ch           ; BASIC arrow-key check
BAS     EQU     1054h           ; BASIC stand-in

FONTAD  EQU     0B000h          ; glyph of code c at FONTAD + 8 * c
CURCOL  EQU     0BE00h          ; cursor column 0-31
CURROW  EQU     0BE01h          ; cursor row 0-31
KBMODE  EQU     0BE02h          ; 0 = Latin letters, 1 = Cyrillic
CMAP    EQU     0BE04h          ; port C2 as the console's caller left it
CSAVSP  EQU     0BE06h          ; the console caller's stack pointer
SSAVSP  EQU     0BE08h          ; stack pointer saved while scrolling
FSAVSP  EQU     0BE0Ah          ; stack pointer saved while filling
KEYSWAS EQU     0BE10h          ; keys held at the last scan: 8 + 4 rows
LINBUF  EQU     0BE40h          ; input line, zero-terminated
LINMAX  EQU     30              ; characters per input line
TAPNAM  EQU     0BE8Ch          ; six-byte tape name
CSTACK  EQU     0BF00h          ; the console's own stack

KRUS    EQU     49              ; key numbers (row * 8 + bit) of RUS
KLAT    EQU     29              ; and LAT
KSHIFT  EQU     56              ; row 7: bit 0 is Shift

CR      EQU     13
DEL     EQU     127

; -----------------------------------------------------------------------------
;  Cold start
; -----------------------------------------------------------------------------
        ORG     0C000h
COLD:   LXI     SP,STKTOP
        MVI     A,03h
        OUT     0C3h            ; C2 bit 1 := 1: the whole address space is RAM
        MVI     A,PALETTE
        OUT     0C1h
        MVI     A,0FFh
        OUT     0D0h            ; no keyboard row selected
        OUT     0D2h
; the RAM parts of the firmware
        LXI     H,IMGPTR
        LXI     D,BASPTR
        LXI     B,4
        CALL    MOVE
        LXI     H,IMGWRM
        LXI     D,RAMWRM
        LXI     B,IMGWRE-IMGWRM
        CALL    MOVE
        LXI     H,IMGBRK
        LXI     D,BRKCHK
        LXI     B,IMGBRE-IMGBRK
        CALL    MOVE
        LXI     H,IMGBAS
        LXI     D,BAS
        LXI     B,IMGBAE-IMGBAS
        CALL    MOVE
; the font: codes 32-127 drawn, 128-287 blank
        LXI     H,FONT
        LXI     D,FONTAD+256
        LXI     B,768
        CALL    MOVE
        LXI     H,FONTAD+1024
        LXI     B,1280
        CALL    ZERO
; console and keyboard state
        XRA     A
        STA     KBMODE
        LXI     H,KEYSWAS
        LXI     B,12
        CALL    ZERO
        LXI     H,TAPNAM
        LXI     B,6
        MVI     A,20h
CS1:    MOV     M,A
        INX     H
        DCR     C
        JNZ     CS1
        CALL    CLS
        LXI     H,MSGBAN
        CALL    PRINT
        JMP     CMDLP

; -----------------------------------------------------------------------------
;  Warm start (entered from 02FDh) and the command loop
; -----------------------------------------------------------------------------
WARM:   LXI     SP,STKTOP
        MVI     A,03h
        OUT     0C3h            ; all RAM again, whatever the program left
        MVI     A,PALETTE
        OUT     0C1h            ; and our colours
        CALL    CUROFF          ; a line input may have been cut short
        CALL    CRIFNZ
CMDLP:  LXI     SP,STKTOP
        MVI     A,3Eh           ; ">"
        CALL    PUTCH
        CALL    GETLINE
        LXI     H,LINBUF
        CALL    SKIPSP
        MOV     A,M
        ORA     A
        JZ      CMDLP           ; empty line
        CPI     4Ch             ; "L"
        JNZ     CMDERR
        INX     H
        MOV     A,M
        ORA     A
        JZ      LOAD
        CPI     20h
        JNZ     CMDERR
        CALL    SKIPSP
        MOV     A,M
        ORA     A
        JZ      LOAD
; "L NAME": the name, cut at six characters and padded with blanks
        LXI     D,TAPNAM
        MVI     B,6
CN1:    MOV     A,M
        ORA     A
        JZ      CN2
        CPI     20h
        JZ      CN2
        STAX    D
        INX     H
        INX     D
        DCR     B
        JNZ     CN1
        JMP     LOAD
CN2:    MVI     A,20h
CN3:    STAX    D
        INX     D
        DCR     B
        JNZ     CN3
        JMP     LOAD
CMDERR: LXI     H,MSGWHT
        CALL    PRINT
        JMP     CMDLP

; -----------------------------------------------------------------------------
;  LOAD: read a file from tape. The stream is ten bytes 0D0h, the six-byte
;  name, the start, end and run words and the data from start to end.
; -----------------------------------------------------------------------------
LOAD:   CALL    TAPELD          ; the emulator opens its tape dialog here
        CALL    TAPSKP
        MVI     B,10
LD1:    CALL    TAPBYT
        CPI     0D0h
        JNZ     LDERR
        DCR     B
        JNZ     LD1
        LXI     H,MSGFIL
        CALL    PRINT
        MVI     B,6
LD2:    CALL    TAPBYT
        CPI     20h
        JC      LD2A
        CPI     DEL
        JC      LD2B
LD2A:   MVI     A,2Eh           ; "." for a byte without a glyph
LD2B:   CALL    PUTCH
        DCR     B
        JNZ     LD2
        CALL    TAPWRD
        PUSH    H               ; start
        CALL    TAPWRD
        PUSH    H               ; end
        CALL    TAPWRD
        MOV     B,H
        MOV     C,L             ; BC = run address
        POP     D               ; DE = end
        POP     H               ; HL = start
; past the end of the tape every byte reads 0FFh: nothing was loaded
        MOV     A,H
        ANA     L
        INR     A
        JZ      LDNONE
; an end before the start is a broken header
        MOV     A,E
        SUB     L
        MOV     A,D
        SBB     H
        JC      LDERR
        MVI     A,20h
        CALL    PUTCH
        CALL    PRHEX4
        MVI     A,2Dh           ; "-"
        CALL    PUTCH
        XCHG
        CALL    PRHEX4
        XCHG
        MVI     A,20h
        CALL    PUTCH
        PUSH    H
        MOV     H,B
        MOV     L,C
        CALL    PRHEX4
        POP     H
        MVI     A,CR
        CALL    PUTCH
; the data; only the tape routine's own call touches the stack, just below
; 0AFC1h where started programs keep theirs
LD3:    CALL    TAPBYT
        MOV     M,A
        MOV     A,L
        CMP     E
        JNZ     LD4
        MOV     A,H
        CMP     D
        JZ      LD5
LD4:    INX     H
        JMP     LD3
LD5:    LXI     SP,STKTOP+2
        LXI     H,RAMWRM
        PUSH    H               ; the program returns to the warm start
        MOV     H,B
        MOV     L,C
        PCHL
LDNONE: CALL    CRIFNZ
        LXI     H,MSGNON
        CALL    PRINT
        JMP     CMDLP
LDERR:  CALL    CRIFNZ
        LXI     H,MSGTER
        CALL    PRINT
        JMP     CMDLP

; -----------------------------------------------------------------------------
;  Line input into LINBUF: echo, Backspace, Enter; the cursor is an
;  underline on the cell's last dot row.
; -----------------------------------------------------------------------------
GETLINE:
        LXI     H,LINBUF
        MVI     B,0
GL1:    CALL    CURON
        CALL    GETKEY
        CALL    CUROFF
        CPI     CR
        JZ      GL3
        CPI     DEL
        JZ      GL2
        CPI     20h
        JC      GL1             ; other control codes do nothing here
        MOV     C,A
        MOV     A,B
        CPI     LINMAX
        JNC     GL1             ; the line is full
        MOV     M,C
        INX     H
        INR     B
        MOV     A,C
        CALL    PUTCH
        JMP     GL1
GL2:    MOV     A,B
        ORA     A
        JZ      GL1
        DCX     H
        DCR     B
        MVI     A,DEL
        CALL    PUTCH
        JMP     GL1
GL3:    MVI     M,0
        MVI     A,CR
        JMP     PUTCH

; HL -> first character of (HL) that is not a blank
SKIPSP: MOV     A,M
        CPI     20h
        RNZ
        INX     H
        JMP     SKIPSP

; Z when LINBUF holds the zero-terminated word at DE, blanks around it allowed
MATCH:  LXI     H,LINBUF
        CALL    SKIPSP
MT1:    LDAX    D
        ORA     A
        JZ      MT2
        CMP     M
        RNZ
        INX     H
        INX     D
        JMP     MT1
MT2:    CALL    SKIPSP
        MOV     A,M
        ORA     A
        RET

; -----------------------------------------------------------------------------
;  Keyboard
; -----------------------------------------------------------------------------
; wait for a key; A = its character
GETKEY: CALL    INKEY
        ORA     A
        JZ      GETKEY
        RET

; A = the character of a key pressed since the last call, 0 when none.
; A new press beeps; RUS and LAT switch the letters and give 0.
INKEY:  PUSH    B
        PUSH    D
        PUSH    H
        CALL    KSCAN
        CPI     0FFh
        JZ      IKNONE
        CALL    BEEP
        CPI     KRUS
        JNZ     IK1
        MVI     A,1
        STA     KBMODE
        JMP     IKNONE
IK1:    CPI     KLAT
        JNZ     IK2
        XRA     A
        STA     KBMODE
        JMP     IKNONE
IK2:    MOV     E,A
        MVI     D,0
        LXI     H,KEYTAB
        DAD     D
        MOV     B,M
        MOV     A,B
        ORA     A
        JZ      IKNONE          ; a key without a character
; Shift turns a digit or sign 2Ch-3Bh into the sign above it (xor 10h)
        MVI     A,7Fh
        OUT     0D0h
        IN      0D1h
        RRC
        JC      IK3             ; Shift up (the port reads a held key as 0)
        MOV     A,B
        CPI     2Ch
        JC      IK3
        CPI     3Ch
        JNC     IK3
        CPI     30h
        JZ      IK3             ; "0" has no sign
        XRI     10h
        MOV     B,A
IK3:    LDA     KBMODE
        ORA     A
        JZ      IK4
        MOV     A,B
        CPI     40h
        JC      IK4
        CPI     5Fh
        JNC     IK4
        ADI     20h             ; Latin 40h-5Eh -> Cyrillic 60h-7Eh
        MOV     B,A
IK4:    MOV     A,B
        POP     H
        POP     D
        POP     B
        RET
IKNONE: XRA     A
        POP     H
        POP     D
        POP     B
        RET

; A = number of a key pressed since the last scan: row * 8 + bit in the main
; matrix (Shift left out), 64 + row * 4 + bit in the extra one; 0FFh when
; none. Keys held meanwhile do not hide a new one, and of two new presses
; the second is given by the next scan.
KSCAN:  LXI     H,KEYSWAS
        MVI     E,0FFh          ; no key found yet
        MVI     B,0FEh          ; a 0 bit selects its row
        MVI     C,0             ; key number of the row's bit 0
KS1:    MOV     A,B
        OUT     0D0h
        IN      0D1h
        CMA
        MOV     D,A
        MOV     A,C
        CPI     KSHIFT
        JNZ     KS2
        MOV     A,D
        ANI     0FEh            ; Shift is read on its own
        MOV     D,A
KS2:    CALL    KSROW
        INX     H
        MOV     A,B
        RLC
        MOV     B,A
        MOV     A,C
        ADI     8
        MOV     C,A
        CPI     64
        JC      KS1
        MVI     B,0FEh
KS3:    MOV     A,B
        OUT     0D2h
        IN      0D2h
        CMA
        ANI     0F0h            ; the row's four keys come in bits 4-7
        RRC
        RRC
        RRC
        RRC
        MOV     D,A
        CALL    KSROW
        INX     H
        MOV     A,B
        RLC
        MOV     B,A
        MOV     A,C
        ADI     4
        MOV     C,A
        CPI     80
        JC      KS3
        MOV     A,E
        RET

; one row: D = its keys held now, (HL) = those held at the last scan, C = key
; number of bit 0. Released keys are forgotten; the first new press of the
; scan goes to E and counts as held from now on.
KSROW:  MOV     A,M
        ANA     D
        MOV     M,A
        MOV     A,E
        CPI     0FFh
        RNZ                     ; this scan has its key already
        MOV     A,M
        CMA
        ANA     D
        RZ                      ; nothing new in this row
        PUSH    B
        MOV     D,A
        MVI     B,1
KR1:    MOV     A,D
        ANA     B
        JNZ     KR2
        INR     C
        MOV     A,B
        ADD     A
        MOV     B,A
        JMP     KR1
KR2:    MOV     A,M
        ORA     B
        MOV     M,A
        MOV     E,C
        POP     B
        RET

; a short tone on port C2 bit 0, about 20,000 T-states; keeps every register
BEEP:   PUSH    PSW
        PUSH    B
        MVI     B,32
BP1:    MOV     A,B
        ANI     01h
        OUT     0C3h            ; bit command: C2 bit 0 := bit 0 of the count
        MVI     C,38
BP2:    DCR     C
        JNZ     BP2
        DCR     B
        JNZ     BP1
        POP     B
        POP     PSW
        RET

; -----------------------------------------------------------------------------
;  Screen helpers
; -----------------------------------------------------------------------------
; clear the screen and home the cursor; keeps every register
CLS:    PUSH    PSW
        PUSH    B
        PUSH    D
        PUSH    H
        MVI     A,02h
        OUT     0C3h            ; video RAM in view
        LXI     H,8000h
        MVI     E,0             ; 256 blocks of 64 bytes
        CALL    FILLBK
        MVI     A,03h
        OUT     0C3h
        XRA     A
        STA     CURCOL
        STA     CURROW
        POP     H
        POP     D
        POP     B
        POP     PSW
        RET

; cursor underline on (CURON) or off (CUROFF); keeps every register
CURON:  PUSH    PSW
        MVI     A,0FFh
        JMP     CURSET
CUROFF: PUSH    PSW
        XRA     A
CURSET: PUSH    B
        PUSH    H
        MOV     B,A
        CALL    CELLAD
        MOV     A,L
        ADI     0C0h
        MOV     L,A
        MOV     A,H
        ACI     01h
        MOV     H,A             ; dot row 7 of the cell
        MVI     A,02h
        OUT     0C3h
        MOV     M,B
        INX     H
        MOV     M,B
        MVI     A,03h
        OUT     0C3h
        POP     H
        POP     B
        POP     PSW
        RET

; new line unless the cursor is at the start of one
CRIFNZ: LDA     CURCOL
        ANI     1Fh
        RZ
        MVI     A,CR
; the character in A to the console; keeps every register
PUTCH:  PUSH    B
        MOV     C,A
        CALL    CONOUT
        POP     B
        RET

; the zero-terminated string at HL; HL ends past the zero
PRINT:  MOV     A,M
        INX     H
        ORA     A
        RZ
        CALL    PUTCH
        JMP     PRINT

; HL, or A, in hexadecimal; both keep every register
PRHEX4: PUSH    PSW
        MOV     A,H
        CALL    PRHEX2
        MOV     A,L
        CALL    PRHEX2
        POP     PSW
        RET
PRHEX2: PUSH    PSW
        RRC
        RRC
        RRC
        RRC
        CALL    PRNIB
        POP     PSW
        PUSH    PSW
        CALL    PRNIB
        POP     PSW
        RET
PRNIB:  ANI     0Fh
        CPI     0Ah
        JC      PN1
        ADI     07h
PN1:    ADI     30h
        JMP     PUTCH

; copy BC bytes from HL to DE
MOVE:   MOV     A,B
        ORA     C
        RZ
        MOV     A,M
        STAX    D
        INX     H
        INX     D
        DCX     B
        JMP     MOVE

; zero BC bytes from HL
ZERO:   MOV     A,B
        ORA     C
        RZ
        MVI     M,0
        INX     H
        DCX     B
        JMP     ZERO

; -----------------------------------------------------------------------------
;  Texts and tables
; -----------------------------------------------------------------------------
MSGBAN: DB      'OSTROVIK TEST ROM',CR
        DB      'L [NAME] - LOAD FROM TAPE',CR,0
MSGWHT: DB      '?',CR,0
MSGFIL: DB      'FILE ',0
MSGNON: DB      'NO FILE',CR,0
MSGTER: DB      'TAPE ERROR',CR,0
MSGBAS: DB      'BASIC ',0
MSGMOR: DB      '...',0
MSGOK:  DB      'OK',CR,0
MSGBRK: DB      'BREAK',CR,0
WRUN:   DB      'RUN',0

; character of each key number, 0 = none; main matrix rows 0-7, then the
; extra matrix (function and cursor keys, no characters)
KEYTAB: DB      36h,37h,38h,00h,00h,2Dh,30h,39h     ; 6 7 8 . . - 0 9
        DB      47h,5Bh,5Dh,CR, 00h,3Ah,48h,5Ah     ; G [ ] Enter . : H Z
        DB      52h,4Fh,4Ch,DEL,2Eh,5Ch,56h,44h     ; R O L Backspace . \ V D
        DB      20h,42h,40h,00h,5Ch,00h,2Fh,2Ch     ; space B @ . \ LAT / ,
        DB      00h,00h,00h,35h,34h,33h,32h,31h     ; Esc . . 5 4 3 2 1
        DB      00h,00h,4Ah,4Eh,45h,4Bh,55h,43h     ; . . J N E K U C
        DB      3Bh,00h,00h,50h,41h,57h,59h,46h     ; ; RUS . P A W Y F
        DB      00h,51h,5Eh,58h,54h,49h,4Dh,53h     ; Shift Q ^ X T I M S
        DB      0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0

; -----------------------------------------------------------------------------
;  RAM parts, copied at cold start
; -----------------------------------------------------------------------------
IMGPTR: DW      PROGST,PROGST   ; 0243h: an empty BASIC program

IMGWRM: LXI     SP,STKTOP       ; 02FDh: warm start
        JMP     WARM
IMGWRE:

IMGBRK: ORA     A               ; 058Ch: Z (no arrow key held) returns;
        RZ                      ; XRA A here lets programs use the arrows
        JMP     BBREAK-IMGBAS+BAS
IMGBRE:

; the BASIC stand-in; it runs at 1054h, so its own jumps are written as
; label - IMGBAS + BAS
IMGBAS: LXI     SP,STKTOP
        MVI     A,03h
        OUT     0C3h
        CALL    CLS
        LXI     H,MSGBAS
        CALL    PRINT
        LHLD    BASPTR
        CALL    PRHEX4
        MVI     A,2Dh           ; "-"
        CALL    PUTCH
        LHLD    BASPTR+2
        CALL    PRHEX4
        MVI     A,CR
        CALL    PUTCH
; the first eight bytes in hex
        LHLD    BASPTR+2
        XCHG                    ; DE = end
        LHLD    BASPTR          ; HL = start
        MVI     B,8
BS1:    MOV     A,L
        SUB     E
        MOV     A,H
        SBB     D
        JNC     BS3-IMGBAS+BAS  ; at the end
        MOV     A,B
        ORA     A
        JZ      BS2-IMGBAS+BAS  ; more than eight
        MOV     A,M
        CALL    PRHEX2
        MVI     A,20h
        CALL    PUTCH
        INX     H
        DCR     B
        JMP     BS1-IMGBAS+BAS
BS2:    LXI     H,MSGMOR
        CALL    PRINT
BS3:    CALL    CRIFNZ
BL0:    LXI     SP,STKTOP
        LXI     H,MSGOK
        CALL    PRINT
BL1:    CALL    GETLINE
        LXI     D,WRUN
        CALL    MATCH
        JZ      BRUN-IMGBAS+BAS
        LXI     H,LINBUF
        CALL    SKIPSP
        MOV     A,M
        ORA     A
        JZ      BL1-IMGBAS+BAS  ; empty line
        LXI     H,MSGWHT
        CALL    PRINT
        JMP     BL0-IMGBAS+BAS
; RUN: the program's printable bytes as text
BRUN:   LHLD    BASPTR+2
        XCHG                    ; DE = end
        LHLD    BASPTR          ; HL = start
BR1:    MOV     A,L
        SUB     E
        MOV     A,H
        SBB     D
        JNC     BR5-IMGBAS+BAS
        MOV     A,M
        ORA     A
        JNZ     BR2-IMGBAS+BAS
        MVI     A,CR            ; a zero ends a program line
BR2:    CPI     CR
        JZ      BR3-IMGBAS+BAS
        CPI     20h
        JC      BR4-IMGBAS+BAS  ; other control bytes and tokens: not shown
        CPI     DEL
        JNC     BR4-IMGBAS+BAS
BR3:    CALL    PUTCH
BR4:    MVI     A,0F7h          ; extra matrix row 3: the arrow keys
        OUT     0D2h
        IN      0D2h
        CMA
        ANI     0F0h
        CALL    BRKCHK
        INX     H
        JMP     BR1-IMGBAS+BAS
BR5:    CALL    CRIFNZ
        JMP     BL0-IMGBAS+BAS
BBREAK: CALL    CRIFNZ
        LXI     H,MSGBRK
        CALL    PRINT
        CALL    BEEP
        JMP     BL0-IMGBAS+BAS
IMGBAE:

; font for codes 32-127, eight rows per glyph, bit 7 leftmost
FONT:
        DB      000h,000h,000h,000h,000h,000h,000h,000h  ; 32 space
        DB      010h,010h,010h,010h,010h,000h,010h,000h  ; 33 !
        DB      028h,028h,028h,000h,000h,000h,000h,000h  ; 34 double quote
        DB      028h,028h,07Ch,028h,07Ch,028h,028h,000h  ; 35 #
        DB      010h,03Ch,050h,038h,014h,078h,010h,000h  ; 36 $
        DB      060h,064h,008h,010h,020h,04Ch,00Ch,000h  ; 37 %
        DB      030h,048h,050h,020h,054h,048h,034h,000h  ; 38 &
        DB      010h,010h,020h,000h,000h,000h,000h,000h  ; 39 apostrophe
        DB      008h,010h,020h,020h,020h,010h,008h,000h  ; 40 (
        DB      020h,010h,008h,008h,008h,010h,020h,000h  ; 41 )
        DB      000h,010h,054h,038h,054h,010h,000h,000h  ; 42 *
        DB      000h,010h,010h,07Ch,010h,010h,000h,000h  ; 43 +
        DB      000h,000h,000h,000h,030h,010h,020h,000h  ; 44 ,
        DB      000h,000h,000h,07Ch,000h,000h,000h,000h  ; 45 -
        DB      000h,000h,000h,000h,000h,030h,030h,000h  ; 46 .
        DB      000h,004h,008h,010h,020h,040h,000h,000h  ; 47 /
        DB      038h,044h,04Ch,054h,064h,044h,038h,000h  ; 48 0
        DB      010h,030h,010h,010h,010h,010h,038h,000h  ; 49 1
        DB      038h,044h,004h,008h,010h,020h,07Ch,000h  ; 50 2
        DB      07Ch,008h,010h,008h,004h,044h,038h,000h  ; 51 3
        DB      008h,018h,028h,048h,07Ch,008h,008h,000h  ; 52 4
        DB      07Ch,040h,078h,004h,004h,044h,038h,000h  ; 53 5
        DB      018h,020h,040h,078h,044h,044h,038h,000h  ; 54 6
        DB      07Ch,004h,008h,010h,020h,020h,020h,000h  ; 55 7
        DB      038h,044h,044h,038h,044h,044h,038h,000h  ; 56 8
        DB      038h,044h,044h,03Ch,004h,008h,030h,000h  ; 57 9
        DB      000h,030h,030h,000h,030h,030h,000h,000h  ; 58 :
        DB      000h,030h,030h,000h,030h,010h,020h,000h  ; 59 semicolon
        DB      008h,010h,020h,040h,020h,010h,008h,000h  ; 60 <
        DB      000h,000h,07Ch,000h,07Ch,000h,000h,000h  ; 61 =
        DB      020h,010h,008h,004h,008h,010h,020h,000h  ; 62 >
        DB      038h,044h,004h,008h,010h,000h,010h,000h  ; 63 ?
        DB      038h,044h,004h,034h,054h,054h,038h,000h  ; 64 @
        DB      038h,044h,044h,07Ch,044h,044h,044h,000h  ; 65 A
        DB      078h,044h,044h,078h,044h,044h,078h,000h  ; 66 B
        DB      038h,044h,040h,040h,040h,044h,038h,000h  ; 67 C
        DB      078h,044h,044h,044h,044h,044h,078h,000h  ; 68 D
        DB      07Ch,040h,040h,078h,040h,040h,07Ch,000h  ; 69 E
        DB      07Ch,040h,040h,078h,040h,040h,040h,000h  ; 70 F
        DB      038h,044h,040h,05Ch,044h,044h,03Ch,000h  ; 71 G
        DB      044h,044h,044h,07Ch,044h,044h,044h,000h  ; 72 H
        DB      038h,010h,010h,010h,010h,010h,038h,000h  ; 73 I
        DB      01Ch,008h,008h,008h,008h,048h,030h,000h  ; 74 J
        DB      044h,048h,050h,060h,050h,048h,044h,000h  ; 75 K
        DB      040h,040h,040h,040h,040h,040h,07Ch,000h  ; 76 L
        DB      044h,06Ch,054h,054h,044h,044h,044h,000h  ; 77 M
        DB      044h,044h,064h,054h,04Ch,044h,044h,000h  ; 78 N
        DB      038h,044h,044h,044h,044h,044h,038h,000h  ; 79 O
        DB      078h,044h,044h,078h,040h,040h,040h,000h  ; 80 P
        DB      038h,044h,044h,044h,054h,048h,034h,000h  ; 81 Q
        DB      078h,044h,044h,078h,050h,048h,044h,000h  ; 82 R
        DB      03Ch,040h,040h,038h,004h,004h,078h,000h  ; 83 S
        DB      07Ch,010h,010h,010h,010h,010h,010h,000h  ; 84 T
        DB      044h,044h,044h,044h,044h,044h,038h,000h  ; 85 U
        DB      044h,044h,044h,044h,044h,028h,010h,000h  ; 86 V
        DB      044h,044h,044h,054h,054h,054h,028h,000h  ; 87 W
        DB      044h,044h,028h,010h,028h,044h,044h,000h  ; 88 X
        DB      044h,044h,028h,010h,010h,010h,010h,000h  ; 89 Y
        DB      07Ch,004h,008h,010h,020h,040h,07Ch,000h  ; 90 Z
        DB      038h,020h,020h,020h,020h,020h,038h,000h  ; 91 [
        DB      000h,040h,020h,010h,008h,004h,000h,000h  ; 92 \
        DB      038h,008h,008h,008h,008h,008h,038h,000h  ; 93 ]
        DB      010h,028h,044h,000h,000h,000h,000h,000h  ; 94 ^
        DB      000h,000h,000h,000h,000h,000h,07Ch,000h  ; 95 _
        DB      048h,054h,054h,074h,054h,054h,048h,000h  ; 96 Ю
        DB      038h,044h,044h,07Ch,044h,044h,044h,000h  ; 97 А
        DB      07Ch,040h,040h,078h,044h,044h,078h,000h  ; 98 Б
        DB      048h,048h,048h,048h,048h,07Ch,004h,000h  ; 99 Ц
        DB      018h,028h,028h,028h,028h,07Ch,044h,000h  ; 100 Д
        DB      07Ch,040h,040h,078h,040h,040h,07Ch,000h  ; 101 Е
        DB      010h,038h,054h,054h,054h,038h,010h,000h  ; 102 Ф
        DB      07Ch,040h,040h,040h,040h,040h,040h,000h  ; 103 Г
        DB      044h,044h,028h,010h,028h,044h,044h,000h  ; 104 Х
        DB      044h,044h,04Ch,054h,064h,044h,044h,000h  ; 105 И
        DB      028h,010h,044h,04Ch,054h,064h,044h,000h  ; 106 Й
        DB      044h,048h,050h,060h,050h,048h,044h,000h  ; 107 К
        DB      01Ch,024h,024h,024h,024h,024h,044h,000h  ; 108 Л
        DB      044h,06Ch,054h,054h,044h,044h,044h,000h  ; 109 М
        DB      044h,044h,044h,07Ch,044h,044h,044h,000h  ; 110 Н
        DB      038h,044h,044h,044h,044h,044h,038h,000h  ; 111 О
        DB      07Ch,044h,044h,044h,044h,044h,044h,000h  ; 112 П
        DB      03Ch,044h,044h,03Ch,014h,024h,044h,000h  ; 113 Я
        DB      078h,044h,044h,078h,040h,040h,040h,000h  ; 114 Р
        DB      038h,044h,040h,040h,040h,044h,038h,000h  ; 115 С
        DB      07Ch,010h,010h,010h,010h,010h,010h,000h  ; 116 Т
        DB      044h,044h,044h,03Ch,004h,044h,038h,000h  ; 117 У
        DB      054h,054h,038h,010h,038h,054h,054h,000h  ; 118 Ж
        DB      078h,044h,044h,078h,044h,044h,078h,000h  ; 119 В
        DB      040h,040h,040h,078h,044h,044h,078h,000h  ; 120 Ь
        DB      044h,044h,044h,064h,054h,054h,064h,000h  ; 121 Ы
        DB      038h,044h,004h,018h,004h,044h,038h,000h  ; 122 З
        DB      054h,054h,054h,054h,054h,054h,07Ch,000h  ; 123 Ш
        DB      038h,044h,004h,01Ch,004h,044h,038h,000h  ; 124 Э
        DB      054h,054h,054h,054h,054h,07Ch,004h,000h  ; 125 Щ
        DB      044h,044h,044h,03Ch,004h,004h,004h,000h  ; 126 Ч
        DB      0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh  ; 127 block

; -----------------------------------------------------------------------------
;  Tape entry points. The emulator traps 0DD94h, 0DDCAh, 0E4BEh and 0E4D0h
;  and serves them from its tape file; the bodies below are what runs on a
;  machine without a tape signal.
; -----------------------------------------------------------------------------
        ORG     0DD94h
TAPELD: JMP     TAPSKP          ; tape load: wait for the leader

        ORG     0DDCAh
TAPWRD: PUSH    PSW             ; L = first byte, H = second byte
        CALL    TAPBYT
        MOV     L,A
        CALL    TAPBYT
        MOV     H,A
        POP     PSW
        RET

; -----------------------------------------------------------------------------
;  Console output: the character in C; keeps every register and the
;  caller's memory map. It runs on its own stack above 8000h, so callers
;  with a stack in low RAM are served too.
; -----------------------------------------------------------------------------
        ORG     0DF68h
CONOUT: PUSH    H
        PUSH    D
        PUSH    B
        PUSH    PSW
        LXI     H,0
        DAD     SP
        SHLD    CSAVSP
        LXI     SP,CSTACK
        IN      0C2h
        STA     CMAP
        ANI     0FDh
        OUT     0C2h            ; video RAM at 4000h-7FFFh
        MOV     A,C
        CALL    CHOUT
        LDA     CMAP
        OUT     0C2h
        LHLD    CSAVSP
        SPHL
        POP     PSW
        POP     B
        POP     D
        POP     H
        RET

CHOUT:  CPI     CR
        JZ      NEWLN
        CPI     DEL
        JZ      DELCH
        CPI     20h
        RC                      ; 10 and the other control codes
        CALL    DRAWCH
        LDA     CURCOL
        ANI     1Fh
        INR     A
        STA     CURCOL
        CPI     32
        RC
NEWLN:  XRA     A
        STA     CURCOL
        LDA     CURROW
        ANI     1Fh
        INR     A
        CPI     32
        JC      NL1
        CALL    SCROLL
        MVI     A,31
NL1:    STA     CURROW
        RET
DELCH:  LDA     CURCOL
        ANI     1Fh
        RZ
        DCR     A
        STA     CURCOL
        MVI     A,20h
        JMP     DRAWCH

; HL = video address of the cursor cell's top dot row
CELLAD: LDA     CURROW
        ANI     1Fh
        RLC
        ADI     40h
        MOV     H,A             ; 4000h + row * 512
        LDA     CURCOL
        ANI     1Fh
        RLC
        MOV     L,A             ; + column * 2
        RET

; the glyph of code A into the cursor cell (video RAM in view)
DRAWCH: MOV     L,A
        MVI     H,0
        DAD     H
        DAD     H
        DAD     H
        LXI     B,FONTAD
        DAD     B
        MOV     B,H
        MOV     C,L             ; BC = glyph
        CALL    CELLAD
        CALL    DRROW
        CALL    DRROW
        CALL    DRROW
        CALL    DRROW
        CALL    DRROW
        CALL    DRROW
        CALL    DRROW
; one dot row: glyph byte (BC) to the two video bytes at HL; next row
DRROW:  LDAX    B
        MOV     E,A
        MVI     D,HIGH NIBHI
        LDAX    D
        MOV     M,A
        INX     H
        INR     D               ; NIBLO follows NIBHI
        LDAX    D
        MOV     M,A
        INX     B
        LXI     D,63
        DAD     D
        RET

; move text rows 1-31 up one row and blank row 31 (video RAM in view)
SCROLL: LXI     H,0
        DAD     SP
        SHLD    SSAVSP
        LXI     SP,4200h        ; the stack pointer reads the source
        LXI     H,4000h
SC1:    POP     D
        MOV     M,E
        INX     H
        MOV     M,D
        INX     H
        POP     D
        MOV     M,E
        INX     H
        MOV     M,D
        INX     H
        POP     D
        MOV     M,E
        INX     H
        MOV     M,D
        INX     H
        POP     D
        MOV     M,E
        INX     H
        MOV     M,D
        INX     H
        POP     D
        MOV     M,E
        INX     H
        MOV     M,D
        INX     H
        POP     D
        MOV     M,E
        INX     H
        MOV     M,D
        INX     H
        POP     D
        MOV     M,E
        INX     H
        MOV     M,D
        INX     H
        POP     D
        MOV     M,E
        INX     H
        MOV     M,D
        INX     H
        MOV     A,H
        CPI     7Eh
        JNZ     SC1
        LHLD    SSAVSP
        SPHL
        LXI     H,8000h
        MVI     E,8             ; 512 bytes: the bottom text row
; zero E blocks of 64 bytes (0 = 256 blocks) below the address HL
FILLBK: MOV     A,E
        XCHG
        LXI     H,0
        DAD     SP
        SHLD    FSAVSP
        XCHG
        SPHL
        LXI     B,0
FB1:    PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        PUSH    B
        DCR     A
        JNZ     FB1
        LHLD    FSAVSP
        SPHL
        RET

; -----------------------------------------------------------------------------
        ORG     0E4BEh
TAPBYT: MVI     A,0FFh          ; read a tape byte: no signal reads as 0FFh
        RET

        ORG     0E4D0h
TAPSKP: PUSH    PSW             ; tape leader: a short wait
        MVI     A,0
TS1:    DCR     A
        JNZ     TS1
        POP     PSW
        RET

; glyph row g -> video bytes: NIBHI[g] for dots 0-3, NIBLO[g] for dots 4-7,
; each dot in both bit planes (colour index 3)
        ORG     0E500h
NIBHI:
        DB      000h,000h,000h,000h,000h,000h,000h,000h,000h,000h,000h,000h,000h,000h,000h,000h
        DB      011h,011h,011h,011h,011h,011h,011h,011h,011h,011h,011h,011h,011h,011h,011h,011h
        DB      022h,022h,022h,022h,022h,022h,022h,022h,022h,022h,022h,022h,022h,022h,022h,022h
        DB      033h,033h,033h,033h,033h,033h,033h,033h,033h,033h,033h,033h,033h,033h,033h,033h
        DB      044h,044h,044h,044h,044h,044h,044h,044h,044h,044h,044h,044h,044h,044h,044h,044h
        DB      055h,055h,055h,055h,055h,055h,055h,055h,055h,055h,055h,055h,055h,055h,055h,055h
        DB      066h,066h,066h,066h,066h,066h,066h,066h,066h,066h,066h,066h,066h,066h,066h,066h
        DB      077h,077h,077h,077h,077h,077h,077h,077h,077h,077h,077h,077h,077h,077h,077h,077h
        DB      088h,088h,088h,088h,088h,088h,088h,088h,088h,088h,088h,088h,088h,088h,088h,088h
        DB      099h,099h,099h,099h,099h,099h,099h,099h,099h,099h,099h,099h,099h,099h,099h,099h
        DB      0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh,0AAh
        DB      0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh,0BBh
        DB      0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh,0CCh
        DB      0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh,0DDh
        DB      0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh,0EEh
        DB      0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh,0FFh
NIBLO:
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh
        DB      000h,011h,022h,033h,044h,055h,066h,077h,088h,099h,0AAh,0BBh,0CCh,0DDh,0EEh,0FFh

; -----------------------------------------------------------------------------
        ORG     0F803h
KEYIN:  JMP     GETKEY          ; wait for a key

        END
