#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

// A small HTTP/1.0 server on 127.0.0.1 for download tests. Each path answers
// with a scripted raw response; a path scripted as "hang" reads the request
// and then answers nothing until the server stops.
class LocalHttpServer {
public:
    LocalHttpServer() {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        int yes = 1;
        ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener, 16);
        socklen_t length = sizeof address;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        worker = std::thread([this] { serve(); });
    }

    ~LocalHttpServer() {
        stopping = true;
        worker.join();
        ::close(listener);
    }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port) + path;
    }

    // A complete response with status line, length and body.
    void answer(const std::string& path, int status, const std::string& body,
                const std::string& extraHeaders = {}) {
        std::lock_guard lock(mutex);
        responses[path] = "HTTP/1.0 " + std::to_string(status) + " Scripted\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\n" + extraHeaders + "\r\n" + body;
    }

    // A raw response, sent as it stands before the connection is closed.
    void answerRaw(const std::string& path, const std::string& raw) {
        std::lock_guard lock(mutex);
        responses[path] = raw;
    }

    void hang(const std::string& path) { answerRaw(path, kHang); }

    int requestCount() const { return requests; }

private:
    static constexpr const char* kHang = "\x01hang";

    void serve() {
        while (!stopping) {
            pollfd waiting{listener, POLLIN, 0};
            if (::poll(&waiting, 1, 20) <= 0) continue;
            const int client = ::accept(listener, nullptr, nullptr);
            if (client < 0) continue;
            handle(client);
            ::close(client);
        }
    }

    void handle(int client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            pollfd readable{client, POLLIN, 0};
            if (::poll(&readable, 1, 1000) <= 0) return;
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) return;
            request.append(buffer, static_cast<size_t>(got));
        }
        ++requests;
        const size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        std::string response;
        {
            std::lock_guard lock(mutex);
            auto found = responses.find(path);
            response = found == responses.end()
                           ? std::string("HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n")
                           : found->second;
        }
        if (response == kHang) {
            // Keep the connection open and silent until the client gives up.
            while (!stopping) {
                pollfd closed{client, POLLIN, 0};
                if (::poll(&closed, 1, 20) > 0 && ::recv(client, buffer, sizeof buffer, 0) <= 0) return;
            }
            return;
        }
        size_t sent = 0;
        while (sent < response.size()) {
            const ssize_t put = ::send(client, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
            if (put <= 0) return;
            sent += static_cast<size_t>(put);
        }
    }

    int listener = -1;
    int port = 0;
    std::atomic<bool> stopping{false};
    std::atomic<int> requests{0};
    std::mutex mutex;
    std::map<std::string, std::string> responses;
    std::thread worker;
};
