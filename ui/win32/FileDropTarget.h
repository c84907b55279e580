// SPDX-License-Identifier: GPL-3.0-or-later
// The window as an OLE drop target: while files are dragged over it, the pointer shows whether
// they would be taken; dropped and taken, they are handed on.
#pragma once

#include <windows.h>

#include <oleidl.h>

#include <functional>
#include <string>
#include <vector>

namespace varnock::win32 {

class FileDropTarget final : public IDropTarget {
public:
    using Paths = std::vector<std::string>;
    // accepts tells whether paths (UTF-8) would be taken; take is called with them once
    // dropped, from inside the drop.
    FileDropTarget(std::function<bool(const Paths&)> accepts, std::function<void(Paths)> take)
        : m_accepts(std::move(accepts)), m_take(std::move(take)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at,
                                   DWORD* effect) override;

private:
    DWORD effectFor(DWORD allowed) const;

    std::function<bool(const Paths&)> m_accepts;
    std::function<void(Paths)> m_take;
    bool m_accepted = false;  // of the drag now over the window
    ULONG m_references = 1;
};

}  // namespace varnock::win32
