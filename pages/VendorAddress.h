#pragma once
#include <string>

// An address on the vendor's web server (KP_VENDOR_HOST, host[:port]), always over HTTPS: the
// package and the licence agreement come from the same place, and neither can be altered in transit.
// `path` starts with "/".
std::wstring VendorAddress(const wchar_t* path);
