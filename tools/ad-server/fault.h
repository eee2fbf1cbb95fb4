// What the ad server can be told to do wrong, and its command-line form.
#pragma once

#include <string>

namespace rousa::adserver {

enum class FaultKind {
    Delay,     // hold the answer until released, the client leaves or `seconds` pass
    Status,    // answer `status` with no ad
    Truncate,  // promise the whole body, send half of it and close
    Garbage,   // the answer's headers with a body of the same length of noise
    Drop,      // close the connection without a byte
    Redirect,  // `hops` redirects through the server before the answer
};

struct Fault {
    FaultKind kind = FaultKind::Status;
    int status = 0;
    int hops = 0;
    double seconds = 0;  // Delay: 0 holds until releaseDelayed()

    static Fault delay(double seconds = 0) { return {FaultKind::Delay, 0, 0, seconds}; }
    static Fault withStatus(int status) { return {FaultKind::Status, status, 0, 0}; }
    static Fault truncate() { return {FaultKind::Truncate, 0, 0, 0}; }
    static Fault garbage() { return {FaultKind::Garbage, 0, 0, 0}; }
    static Fault drop() { return {FaultKind::Drop, 0, 0, 0}; }
    static Fault redirect(int hops) { return {FaultKind::Redirect, 0, hops, 0}; }
};

// Reads the command line's form "delay:N", "status:N", "truncate",
// "garbage", "drop", "redirect:N"; false on anything else.
bool parseFault(const std::string& text, Fault& fault);

}  // namespace rousa::adserver
