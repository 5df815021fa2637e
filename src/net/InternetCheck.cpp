#include "net/InternetCheck.h"

#include "net/EIdHTTPProtocolException.h"
#include "net/TIdHTTP.h"

bool CheckInternetConnection(const QString& probeUrl, int connectTimeoutMs, int requestTimeoutMs)
{
    TIdHTTP http;
    http.setConnectTimeoutMs(connectTimeoutMs);
    http.setRequestTimeoutMs(requestTimeoutMs);
    try {
        http.Get(probeUrl);
        return true;
    } catch (const EIdHTTPProtocolException&) {
        return true;
    } catch (...) {
        return false;
    }
}
