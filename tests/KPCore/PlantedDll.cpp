// A DLL that the DLL-search test leaves beside its program, as an attacker would in a Downloads
// folder.
extern "C" __declspec(dllexport) int KpPlantedMarker() { return 4711; }
