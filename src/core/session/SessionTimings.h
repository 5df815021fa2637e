#pragma once

// Intervals of the main window's timers and pauses. Tests shorten them.
struct SessionTimings
{
    int keepAliveMs = 300000;
    int sessionLampMs = 500;
    int liveCheckLampMs = 510;
    int infoTextMs = 60000;
    int buttonStatesMs = 2000;
    int disconnectPauseMs = 1000;
    // A line tail without a line end is shown after this much silence
    // (a node's "login: " prompt has no line end).
    int lineTailFlushMs = 200;
    // A tail that may be the start of a spot waits longer: when a TCP segment
    // is lost mid-line, the rest comes only after a retransmission, and a spot
    // shown in two pieces would be lost.
    int spotTailFlushMs = 2000;

    // A session that had logged in and ends without the user asking is
    // connected again: the first wait, doubled after each failed attempt up
    // to the last, each with this much jitter either way, and never more
    // attempts than this within a window.
    int reconnectFirstMs = 5000;
    int reconnectMaxMs = 300000;
    int reconnectJitterPercent = 20;
    int reconnectAttemptsPerWindow = 6;
    int reconnectWindowMs = 60000;
    // Failed attempts on the chosen node before the next nodes are tried.
    int failoverAfterAttempts = 3;
    // A reconnect attempt whose connect has not come through after this long
    // fails as timed out, so an address that drops the connection requests
    // costs this much, not the system's own wait of two minutes and more.
    int reconnectConnectMs = 10000;
    // A session reconnected counts as a success, and the waits start over,
    // once it has lived this long or a spot came; ended sooner, it counts
    // as a failed attempt.
    int reconnectProvenMs = 60000;
    // Nothing at all from the node for this long after a keep-alive ends
    // the session as a lost connection.
    int watchdogMs = 120000;
};
