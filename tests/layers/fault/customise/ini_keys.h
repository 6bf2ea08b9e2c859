// The names file of the fault tree: one key.
inline constexpr wchar_t kTip[] = L"InfoTip";
