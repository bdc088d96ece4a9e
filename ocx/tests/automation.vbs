' Drives Delvorin2.Delvorin through automation, as a script host does: defaults, the write of
' Text for every type, UF, Valor, Valido, Mascara and NomeAcessivel, Atualiza, and the error numbers of failing writes.
Option Explicit
Dim passed, failed
passed = 0
failed = 0

Sub Check(condition, message)
    If condition Then
        passed = passed + 1
    Else
        failed = failed + 1
        WScript.Echo "automation.vbs: Test failed: " & message
    End If
End Sub

Function NewControl()
    Set NewControl = CreateObject("Delvorin2.Delvorin")
End Function

Dim d, r
Set d = NewControl()
Check d.Tipo = 4, "Tipo " & d.Tipo
Check d.Digitos = 2, "Digitos " & d.Digitos
Check d.MSGcpf And d.Usar_Enter And d.usar_parenteses, "true defaults"
Check Not (d.Negativo Or d.TravaCpf Or d.Aspas Or d.TC_Trim), "false defaults"
Check d.Text = "", "empty Text"
Check d.Alignment = 0 And d.BorderStyle = 1 And d.Appearance = 1, "edit box defaults"
' The colours are OLE_COLOR (unsigned 32-bit), which Wine's VBScript cannot hold; the type
' library test checks their type instead.
Check d.MaxLength = 0, "MaxLength " & d.MaxLength
Check d.Font.Name <> "", "font"

' CnpjAlfanumerico (type library 1.1), by name as scripts reach it: True by default, kept
' per control.
Check d.CnpjAlfanumerico = True, "CnpjAlfanumerico by default: " & d.CnpjAlfanumerico
d.CnpjAlfanumerico = False
Check d.CnpjAlfanumerico = False, "CnpjAlfanumerico set False: " & d.CnpjAlfanumerico
Check NewControl().CnpjAlfanumerico = True, "CnpjAlfanumerico of another control"
d.CnpjAlfanumerico = 1
Check d.CnpjAlfanumerico = True, "CnpjAlfanumerico set from a number: " & d.CnpjAlfanumerico

' The write of Text per type
Dim cases, i
cases = Array( _
    Array(0, "1234,5", "R$ 1.234,50"), Array(1, "1234,5", "1.234,50"), Array(2, "1.234,50", "1234,5"), _
    Array(3, "0012", "0012"), Array(4, "  livre'  ", "  livre'  "), Array(5, "maria das dores", "Maria das Dores"), _
    Array(6, "abc", "ABC"), Array(7, "ABC", "abc"), Array(8, "12345678", "12345-678"), _
    Array(9, "12345678900", "123.456.789-00"), Array(10, "11222333000181", "11.222.333/0001-81"), _
    Array(11, "2,50", "DOIS REAIS E CINQUENTA CENTAVOS"), Array(12, "abc", "abc"), _
    Array(13, "23456789013", "234.56789.01.3"), Array(14, "1234567812345678", "1234.5678.1234.5678"), _
    Array(0, "-1234,5", "(R$ 1.234,50)"), Array(11, "1.234,56", "UM MIL, DUZENTOS E TRINTA E QUATRO REAIS E CINQUENTA E SEIS CENTAVOS"), _
    Array(15, "11222333000181", "11.222.333/0001-81"), Array(16, "+55 11 2345-6789", "(11) 2345-6789"), _
    Array(17, "1-2-2024", "01/02/2024"), Array(18, "7:05", "07:05"), Array(25, "Isento", "ISENTO"))
For i = 0 To UBound(cases)
    Set d = NewControl()
    d.Tipo = cases(i)(0)
    d.Text = cases(i)(1)
    Check d.Text = cases(i)(2), "Tipo " & cases(i)(0) & ": " & d.Text
    Check d = cases(i)(2), "default member is Text"
Next

' UF (type library 1.2): empty by default, any case kept in capitals.
Set d = NewControl()
Check d.UF = "", "UF by default: " & d.UF
d.UF = "sp"
Check d.UF = "SP", "UF: " & d.UF

' Mascara (1.2): type 26 lays its text out through the mask.
Set d = NewControl()
Check d.Mascara = "", "Mascara by default: " & d.Mascara
d.Tipo = 26
d.Mascara = ">LL-0000"
d.Text = "ab1234"
Check d.Text = "AB-1234" And d.Valor = "AB1234" And d.Valido, "Mascara: " & d.Text & " " & d.Valor
d.Text = "ab12"
Check Not d.Valido, "Mascara incomplete: " & d.Text

' NomeAcessivel (1.2): the name a screen reader gives the field; empty by default.
Check d.NomeAcessivel = "", "NomeAcessivel by default: " & d.NomeAcessivel
d.NomeAcessivel = "Placa do carro"
Check d.NomeAcessivel = "Placa do carro", "NomeAcessivel: " & d.NomeAcessivel

' Valor read after a write of Text, with its automation type (vbEmpty 0, vbNull 1, vbDouble 5,
' vbCurrency 6, vbDate 7, vbString 8), and Valido.
cases = Array( _
    Array(4, "", 0, Empty, True), Array(0, "1.234,5", 6, CCur(1234.5), True), Array(2, "3,25", 5, 3.25, True), _
    Array(9, "12345678909", 8, "12345678909", True), Array(9, "12345678900", 8, "12345678900", False), _
    Array(17, "25/12/2024", 7, DateSerial(2024, 12, 25), True), Array(18, "18:30", 7, TimeSerial(18, 30, 0), True), _
    Array(17, "31/02/2024", 1, Null, False))
For i = 0 To UBound(cases)
    Set d = NewControl()
    d.Tipo = cases(i)(0)
    d.Text = cases(i)(1)
    r = d.Valor
    Check VarType(r) = cases(i)(2), "Valor of Tipo " & cases(i)(0) & " " & cases(i)(1) & ": type " & VarType(r)
    If VarType(r) = cases(i)(2) And cases(i)(2) > 1 Then Check r = cases(i)(3), "Valor of Tipo " & cases(i)(0) & ": " & r
    Check d.Valido = cases(i)(4), "Valido of Tipo " & cases(i)(0) & " " & cases(i)(1) & ": " & d.Valido
Next

' Valor written: converted as automation converts, then written as Text is.
cases = Array( _
    Array(0, CCur(1234.5), "R$ 1.234,50"), Array(0, Null, ""), Array(9, 12345678909, "123.456.789-09"), _
    Array(17, DateSerial(2024, 12, 25), "25/12/2024"), Array(18, TimeSerial(18, 30, 0), "18:30"), _
    Array(16, "11987654321", "(11) 98765-4321"), Array(4, Empty, ""))
For i = 0 To UBound(cases)
    Set d = NewControl()
    d.Tipo = cases(i)(0)
    d.Text = "1"
    d.Valor = cases(i)(1)
    Check d.Text = cases(i)(2), "Valor written to Tipo " & cases(i)(0) & ": " & d.Text
Next

Set d = NewControl()
d.Tipo = 11
d.Text = "5"
Check d.Appearance = 0 And d.BorderStyle = 0, "type 11 is flat"
d.Tipo = 3
d.Text = "1.5"
Set r = d.Atualiza()
Check r Is Nothing, "Atualiza returns Nothing"
Check d.Text = "1,5", "Atualiza " & d.Text
d.Tipo = 20
Check d.Tipo = 20, "Tipo outside the list is kept"

' Failing writes
On Error Resume Next
Set d = NewControl()
d.Tipo = 11
Err.Clear
d.Text = "abc"
Check Err.Number = 13, "type mismatch: " & Err.Number & " " & Err.Description
Check Err.Description = "Type mismatch", "description: " & Err.Description
Check Err.Source = "Delvorin2.Delvorin", "source: " & Err.Source
Check d.Text = "abc", "the failed write keeps the text"
Err.Clear
d.Text = "99999999999999999"
Check Err.Number = 6, "overflow: " & Err.Number
Err.Clear
d.Alignment = 3
Check Err.Number = 380, "invalid property value: " & Err.Number
Check Err.Description = "Invalid property value", "description: " & Err.Description
Err.Clear
d.Tipo = 300
Check Err.Number = 6, "Tipo 300: " & Err.Number
Err.Clear
d.PasswordChar = "**"
Check Err.Number = 380, "PasswordChar: " & Err.Number
Err.Clear
d.UF = "XX"
Check Err.Number = 380 And d.UF = "", "UF XX: " & Err.Number & " " & d.UF
Err.Clear
d.Tipo = 0
d.Text = "5"
d.Valor = "abc"
Check Err.Number = 13 And d.Text = "R$ 5,00", "Valor abc into Tipo 0: " & Err.Number & " " & d.Text
Err.Clear
d.Valido = True
Check Err.Number = 383, "Valido written: " & Err.Number
Check Err.Description = "Property is read-only", "description: " & Err.Description
Err.Clear
d.Tipo = 26
d.Mascara = ">LL-0000"
d.Mascara = "00\"
Check Err.Number = 380 And d.Mascara = ">LL-0000", "Mascara 00\: " & Err.Number & " " & d.Mascara
On Error GoTo 0

WScript.Echo "automation.vbs: " & passed & " passed, " & failed & " failed"
