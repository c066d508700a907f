#pragma once

#include <QByteArray>

struct RequestError;

// The connection events of a request run by SynchronousWrapper. Every event is
// optional: a delegate overrides the ones it wants.
class SynchronousWrapperDelegate
{
public:
    virtual ~SynchronousWrapperDelegate() = default;

    virtual void didReceiveResponse(int /*httpStatus*/) {}
    virtual void didReceiveData(const QByteArray & /*data*/) {}
    virtual void didFinishLoading() {}
    virtual void didFailWithError(const RequestError & /*error*/) {}
};
