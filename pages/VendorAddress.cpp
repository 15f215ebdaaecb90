#include "pages/VendorAddress.h"

std::wstring VendorAddress(const wchar_t* path) { return std::wstring(L"https://" KP_VENDOR_HOST) + path; }
