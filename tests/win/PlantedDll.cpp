// A DLL under a name the tests load, to be planted in the current folder.
extern "C" __declspec(dllexport) int Planted()
{
    return 1;
}
