/* uninstall.exe, the program that the installed apps' entry of Orbitra Table
 * names (silently: uninstall.exe /S). An NSIS uninstaller started so copies
 * itself to the temporary folder, starts the copy and ends at once with exit
 * code 0, whatever the copy then does: deployment tools and scripts would take
 * an uninstall refused because the program runs for a done one. This program
 * instead writes the NSIS uninstaller it carries (resource UNINSTALLER) into a
 * new temporary folder, runs it there on its own folder ("_?=", after the
 * arguments it was given), waits for it and ends with its exit code; 2 when it
 * cannot start it. The uninstaller moves this program into that temporary
 * folder as it ends, since Windows lets a running program be moved but not
 * deleted. Holds no file open meanwhile, which would keep it from moving. */
#include <windows.h>

#include <wchar.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR arguments, int show) {
    (void)instance, (void)previous, (void)show;
    wchar_t folder[MAX_PATH], temp[MAX_PATH], work[MAX_PATH], uninstaller[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(NULL, folder, MAX_PATH);
    wchar_t* slash = wcsrchr(folder, L'\\');
    const HRSRC resource =
        FindResourceW(NULL, L"UNINSTALLER", MAKEINTRESOURCEW(10)); /* RT_RCDATA */
    const void* bytes = resource ? LockResource(LoadResource(NULL, resource)) : NULL;
    const DWORD size = resource ? SizeofResource(NULL, resource) : 0;
    if (length == 0 || length == MAX_PATH || !slash || !bytes || !GetTempPathW(MAX_PATH, temp) ||
        !GetTempFileNameW(temp, L"orb", 0, work) || !DeleteFileW(work) ||
        !CreateDirectoryW(work, NULL)) {
        return 2;
    }
    *slash = L'\0';
    wcscpy(uninstaller, work);
    wcscat(uninstaller, L"\\Un.exe");
    DWORD code = 2, written = 0;
    const HANDLE file =
        CreateFileW(uninstaller, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    const BOOL ready = file != INVALID_HANDLE_VALUE &&
                       WriteFile(file, bytes, size, &written, NULL) && written == size;
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    /* "Un.exe" ARGUMENTS _?=FOLDER: the uninstaller takes the rest of the line
     * after "_?=" as the folder to uninstall, blanks and all. */
    const size_t size_of_command = wcslen(uninstaller) + wcslen(arguments) + wcslen(folder) + 8;
    wchar_t* command = HeapAlloc(GetProcessHeap(), 0, size_of_command * sizeof(wchar_t));
    STARTUPINFOW startup = {.cb = sizeof startup};
    PROCESS_INFORMATION process;
    if (ready && command) {
        wcscpy(command, L"\"");
        wcscat(command, uninstaller);
        wcscat(command, L"\" ");
        wcscat(command, arguments);
        wcscat(command, L" _?=");
        wcscat(command, folder);
        if (CreateProcessW(uninstaller, command, NULL, NULL, FALSE, 0, NULL, work, &startup,
                           &process)) {
            WaitForSingleObject(process.hProcess, INFINITE);
            GetExitCodeProcess(process.hProcess, &code);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    DeleteFileW(uninstaller);
    RemoveDirectoryW(work); /* unless this program was moved into it */
    return (int)code;
}
