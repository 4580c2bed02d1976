#include "process_control_win.h"

#include <psapi.h>
#include <winternl.h>

#include "log_view.h"
#include "process_lookups.h"

namespace {

constexpr ULONG kDebugPrivilege = 20;                // SeDebugPrivilege
constexpr ACCESS_MASK kProcessAllAccess = 0x1F0FFF;  // the all-access mask of the older systems
constexpr NTSTATUS kProcedureNotFound = static_cast<NTSTATUS>(0xC000007AL);

using AdjustPrivilegeCall = NTSTATUS(NTAPI*)(ULONG, BOOLEAN, BOOLEAN, PBOOLEAN);
using OpenProcessCall = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, CLIENT_ID*);
using HandleCall = NTSTATUS(NTAPI*)(HANDLE);
using TerminateProcessCall = NTSTATUS(NTAPI*)(HANDLE, NTSTATUS);

// ntdll exports these without an import library; a missing one leaves its pointer empty.
struct NativeCalls {
  AdjustPrivilegeCall adjustPrivilege;
  OpenProcessCall openProcess;
  HandleCall suspendProcess;
  HandleCall resumeProcess;
  TerminateProcessCall terminateProcess;
  HandleCall close;
};

template <typename Call>
Call Resolve(HMODULE ntdll, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(ntdll, name)));
}

const NativeCalls& Native() {
  static const NativeCalls calls = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return NativeCalls{Resolve<AdjustPrivilegeCall>(ntdll, "RtlAdjustPrivilege"),
                       Resolve<OpenProcessCall>(ntdll, "ZwOpenProcess"),
                       Resolve<HandleCall>(ntdll, "ZwSuspendProcess"),
                       Resolve<HandleCall>(ntdll, "ZwResumeProcess"),
                       Resolve<TerminateProcessCall>(ntdll, "ZwTerminateProcess"),
                       Resolve<HandleCall>(ntdll, "ZwClose")};
  }();
  return calls;
}

// The one record passed to every open: all members zero but its length.
OBJECT_ATTRIBUTES* ProcessObjectAttributes() {
  static OBJECT_ATTRIBUTES attributes = [] {
    OBJECT_ATTRIBUTES a{};
    a.Length = sizeof(OBJECT_ATTRIBUTES);
    return a;
  }();
  return &attributes;
}

void CallWithHandle(HandleCall call, ProcessHandle handle) {
  if (call) call(static_cast<HANDLE>(handle));
}

}  // namespace

ProcessControl Win32ProcessControl(HWND logView) {
  ProcessControl ops;
  ops.enableDebugPrivilege = [] {
    BOOLEAN wasEnabled = FALSE;
    if (Native().adjustPrivilege) Native().adjustPrivilege(kDebugPrivilege, TRUE, FALSE, &wasEnabled);
  };
  ops.enumerateProcessIds = [](std::uint32_t* ids, std::size_t capacity, std::size_t& written) {
    static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
    DWORD bytes = 0;
    if (!EnumProcesses(reinterpret_cast<DWORD*>(ids), static_cast<DWORD>(capacity * sizeof(DWORD)),
                       &bytes)) {
      return false;
    }
    written = bytes / sizeof(DWORD);
    return true;
  };
  ops.openProcess = [](int processId, ProcessHandle& handle) -> long {
    if (!Native().openProcess) return kProcedureNotFound;
    CLIENT_ID client{};
    client.UniqueProcess =
        reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(static_cast<DWORD>(processId)));
    HANDLE opened = nullptr;
    const NTSTATUS status =
        Native().openProcess(&opened, kProcessAllAccess, ProcessObjectAttributes(), &client);
    handle = opened;
    return status;
  };
  ops.suspendProcess = [](ProcessHandle h) { CallWithHandle(Native().suspendProcess, h); };
  ops.resumeProcess = [](ProcessHandle h) { CallWithHandle(Native().resumeProcess, h); };
  ops.terminateProcess = [](ProcessHandle h) {
    if (Native().terminateProcess) Native().terminateProcess(static_cast<HANDLE>(h), 0);
  };
  ops.closeHandle = [](ProcessHandle h) { CallWithHandle(Native().close, h); };
  ops.sleepOneMillisecond = [] { Sleep(1); };
  ops.imagePathById = ImagePathById;
  ops.readVersionFields = ReadVersionFields;
  ops.appendLogRow = [logView](int processId, const std::string& path, LogAction action,
                               const VersionFields& fields) {
    AppendLogRow(logView, processId, path, action, fields);
  };
  return ops;
}
