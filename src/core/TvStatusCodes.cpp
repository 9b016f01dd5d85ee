#include "TvStatusCodes.h"
#include "text/TvText.h"

namespace {

const char *const statusKeys[] = {
    "EVERYTHING_OK", "CALLER_NOT_ROOT", "OUT_OF_MEMORY", "OPEN_DEVICE_FAILED",
    "IOCTL_FAILED", "MMAP_FAILED", "MUNMAP_FAILED", "NULL_POINTER",
    "INTERNAL_ERROR", "TVDGLIB_ERROR", "NO_PCI_DEVICES_FOUND", "NO_SUCH_DEVICE",
    "ADAPTER_INIT_FAILED", "ADAPTER_DEINIT_FAILED", "ADAPTER_ALREADY_SELECTED", "INVALID_KEYWORD",
    "VPD_TIMEOUT", "VPD_FATAL_ERROR", "VPD_BUFFER_OVERFLOW", "KEYWORD_NOT_FOUND",
    "VPD_TIMEOUT", "VPD_FULL", "WRITE_KEYWORD_FAILED", "FPROM_ACCESS_FAILED",
    "INIT_FPROM_FAILED", "VERIFY_FPROM_FAILED", "PROG_ALL_ZEROS_FAILED", "FLASH_ERASE_FAILED",
    "PROG_FLASH_FAILED", "ADAPTER_LOCK_FAILED", "ADAPTER_UNLOCK_FAILED", "ADAPTER_OPEN_FAILED",
    "GET_OID_FAILED", "SET_OID_FAILED", "ADAPTER_IN_WRONG_DIAG_STATE",
    "ADAPTER_ALREADY_SELECTED_BUT_NOT_DIAG",
};
constexpr unsigned keyCount = sizeof(statusKeys) / sizeof(statusKeys[0]);
static_assert(keyCount == 36, "codes 0 to 35 have keys");

} // namespace

QString TvStatusCodes::statusKey(int code)
{
    // Compared unsigned, so negative codes fall through as well.
    if (unsigned(code) < keyCount)
        return QString::fromLatin1(statusKeys[code]);
    return QStringLiteral("ERROR_ERROR %1");
}

QString TvStatusCodes::statusText(int code)
{
    const QString text = TvText::translate("TvDiagMainWindow", statusKey(code));
    if (unsigned(code) < keyCount)
        return text;
    return text.arg(code);
}
