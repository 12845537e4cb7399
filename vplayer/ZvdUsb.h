// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The device library's C interface as the virtual player exports it. On 32-bit Windows every
// function is __stdcall and exported under its plain name (the build strips the @n suffix).
#pragma once

#include <stdint.h>

#ifdef _WIN32
#define ZVD_USB_API __declspec(dllexport)
#define ZVD_USB_CALL __stdcall
#else
#define ZVD_USB_API __attribute__((visibility("default")))
#define ZVD_USB_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
    uint8_t bytes[300];
} PlayerEntry;

ZVD_USB_API int16_t ZVD_USB_CALL TCC730_StartDLL(void);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_ExitDLL(void);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_TestConnection(void);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_Open(int32_t* handle);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_Close(int32_t handle);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_GetMediumInfo(int32_t handle, int32_t medium, uint8_t* info);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_Refresh(int32_t handle, int32_t medium, int32_t* total,
                                                PlayerEntry* entries, int32_t* count);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_Rename(int32_t handle, int32_t medium, int32_t index,
                                               const char* newName, PlayerEntry* entry);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_Replace(int32_t handle, int32_t medium, int32_t a, int32_t b);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_Delete(void* owner, int32_t handle, int32_t medium, int32_t index,
                                               const char* name);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_Download(void* owner, int32_t handle, int32_t medium,
                                                 const char* path);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_Upload(void* owner, int32_t handle, int32_t medium, int32_t index,
                                               const char* path, const char* name, int32_t byteCount,
                                               int32_t zero);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_Format(void* owner, int32_t handle, int32_t medium);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_FormatLow(void* owner, int32_t handle, int32_t medium);
ZVD_USB_API int16_t ZVD_USB_CALL ConvertHexToBin(const char* firmwarePath, const char* imagePath,
                                                 int32_t blockSize);
ZVD_USB_API int16_t ZVD_USB_CALL TCC730_UpgradeFirmware(void* owner, int32_t handle, int32_t medium,
                                                        int32_t zero, const char* imagePath,
                                                        const char* firmwarePath);

#ifdef __cplusplus
}
#endif
