#pragma once

// A program-wide service behind an interface that tests can replace: the
// program uses the interface's standard implementation (Interface::standard()),
// a test installs a scripted one for as long as it needs it.
template <class Interface>
class ServiceSlot {
public:
    // The installed implementation, or the standard one when none is installed.
    static Interface& current() { return installed ? *installed : Interface::standard(); }
    // Installs an implementation (nullptr goes back to the standard one) and
    // returns the one installed before.
    static Interface* install(Interface* service) {
        Interface* previous = installed;
        installed = service;
        return previous;
    }

private:
    inline static Interface* installed = nullptr;
};

// Installs a service for the lifetime of the object and puts the previous one back.
template <class Interface>
class ScopedService {
public:
    explicit ScopedService(Interface& service) : previous(Interface::install(&service)) {}
    ~ScopedService() { Interface::install(previous); }
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

private:
    Interface* previous;
};
