// A key spelled a second time, which the names rule must find.
const wchar_t* TipLine() {
    return L"InfoTip=spelled again";
}
