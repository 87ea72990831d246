; Программа цветовой глюк :-)
BEGIN	EQU	8000h
	ORG	BEGIN-016h

	DB	"RIZI/2.0/"
	DB	0D0h
	DB	"PROBA1"
	DW	BEGIN
	DW	BEGIN+END-START
	DW	BEGIN

START:	MVI A,00h ;example
LAB1:   OUT 0C1h
        INR A
        JMP LAB1
END
