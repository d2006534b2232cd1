#include "support/FakeDeviceStates.h"

using namespace platform;

Result FakeDeviceStates::reset(const PresentParams& params) {
    if (m_state == D3DERR_DEVICELOST || m_state == D3DERR_DRIVERINTERNALERROR)
        return m_state;
    Result r = m_inner->reset(params);
    if (succeeded(r)) {
        m_state = S_OK;
        ++m_resets;
    }
    return r;
}

Result FakeDeviceStates::present() {
    return m_state == S_OK ? m_inner->present() : D3DERR_DEVICELOST;
}

FakeDeviceStates::Install::Install() {
    setDeviceDecorator([this](std::unique_ptr<GraphicsDevice> device) -> std::unique_ptr<GraphicsDevice> {
        auto fake = std::make_unique<FakeDeviceStates>(std::move(device));
        m_newest = fake.get();
        return fake;
    });
}

FakeDeviceStates::Install::~Install() {
    setDeviceDecorator({});
}
