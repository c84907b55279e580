// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileDropTarget.h"

#include <shellapi.h>

#include "DroppedFiles.h"

namespace varnock::win32 {
namespace {

// The files a drag carries, as a file manager offers them; none for anything else.
FileDropTarget::Paths pathsIn(IDataObject* data) {
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (!data || FAILED(data->GetData(&format, &medium))) {
        return {};
    }
    FileDropTarget::Paths paths;
    if (medium.tymed == TYMED_HGLOBAL) {
        if (const auto drop = static_cast<HDROP>(::GlobalLock(medium.hGlobal))) {
            paths = droppedPaths(drop);
            ::GlobalUnlock(medium.hGlobal);
        }
    }
    ::ReleaseStgMedium(&medium);
    return paths;
}

}  // namespace

HRESULT FileDropTarget::QueryInterface(REFIID id, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (id == IID_IUnknown || id == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() {
    return ++m_references;
}

ULONG FileDropTarget::Release() {
    const ULONG left = --m_references;
    if (left == 0) {
        delete this;
    }
    return left;
}

DWORD FileDropTarget::effectFor(DWORD allowed) const {
    return m_accepted && (allowed & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

// Nothing thrown may leave for the system's drag loop: a failure refuses the drag.
HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    try {
        m_accepted = m_accepts(pathsIn(data));
    } catch (...) {
        m_accepted = false;
    }
    *effect = effectFor(*effect);
    return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    *effect = effectFor(*effect);
    return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
    m_accepted = false;
    return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    m_accepted = false;
    *effect = DROPEFFECT_NONE;
    try {
        Paths paths = pathsIn(data);
        if (m_accepts(paths)) {
            m_take(std::move(paths));
            *effect = DROPEFFECT_COPY;
        }
    } catch (...) {
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

}  // namespace varnock::win32
