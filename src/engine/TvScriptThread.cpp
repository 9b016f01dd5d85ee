#include "TvScriptThread.h"

TvScriptThread::TvScriptThread(QObject *parent)
    : QThread(parent)
{
}

TvScriptThread::~TvScriptThread()
{
    wait();
}

void TvScriptThread::start(QObject *receiver)
{
    // Only set while the thread is not running: run() reads it.
    wait();
    receiverObject = receiver;
    QThread::start();
}

QObject *TvScriptThread::receiver() const
{
    return receiverObject;
}

void TvScriptThread::run()
{
}
