// A transport to the virtual processor in this process.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "Transport.h"
#include "VirtualProcessor.h"

class CVirtualTransport : public ITransport {
public:
    explicit CVirtualTransport(std::shared_ptr<CVirtualProcessor> pDevice);

    IoResult WriteReport(const uint8_t* pReport, int nTimeoutMs) override;
    IoResult ReadReport(uint8_t* pReport, int nTimeoutMs) override;
    void Close() override;
    std::string Describe() const override { return "virtual"; }

    // The processor the built-in "virtual" device option talks to; it lives
    // for the whole run, so its settings survive a reconnect.
    static std::shared_ptr<CVirtualProcessor> Shared();

private:
    std::shared_ptr<CVirtualProcessor> m_pDevice;
    bool m_bClosed = false;
};
