// SPDX-License-Identifier: GPL-3.0-or-later
#include <initguid.h>

#include "AccessibleNames.h"

#include <oleacc.h>

namespace varnock::win32 {
namespace {

// CLSID_CAccPropServices, which not every SDK's import libraries define.
constexpr CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};

template <typename Use>
void withPropertyServices(Use use) {
    IAccPropServices* services = nullptr;
    if (FAILED(::CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return;  // the control keeps the name the system gives it
    }
    use(*services);
    services->Release();
}

}  // namespace

void nameForScreenReaders(HWND control, const wchar_t* name) {
    withPropertyServices([&](IAccPropServices& services) {
        services.SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                PROPID_ACC_NAME, name);
    });
}

void forgetScreenReaderName(HWND control) {
    withPropertyServices([&](IAccPropServices& services) {
        MSAAPROPID name = PROPID_ACC_NAME;
        services.ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
    });
}

void describeForScreenReaders(HWND control, DWORD child, const wchar_t* description) {
    withPropertyServices([&](IAccPropServices& services) {
        if (description) {
            services.SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), child,
                                    PROPID_ACC_DESCRIPTION, description);
        } else {
            MSAAPROPID property = PROPID_ACC_DESCRIPTION;
            services.ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), child, &property, 1);
        }
    });
}

}  // namespace varnock::win32
