// Probe module: reports every call it receives as a Logic_writeData("call", name, detail)
// message and answers with distinct results, so a caller can see which override ran.
#include "base_Logic.h"

class ProbeLogic : public base_Logic
{
    Q_OBJECT

public:
    bool checkCameraCfg(QJsonObject document, QString &error) override
    {
        error = QStringLiteral("probe:") + document.value(QStringLiteral("任务名")).toString();
        return report("checkCameraCfg", error, false);
    }
    bool setCameraCfg(QJsonObject document) override
    {
        return report("setCameraCfg", QString::number(document.size()), true);
    }
    bool initTask() override { return report("initTask", QString(), false); }
    bool startTask() override { return report("startTask", QString(), true); }
    bool stopTask() override { return report("stopTask", QString(), false); }
    bool unloadTask() override { return report("unloadTask", QString(), true); }
    bool spareTask() override { return report("spareTask", QString(), false); }
    bool fetchResults(QList<ResultEntry> *results) override
    {
        cv::Mat m(2, 3, CV_8UC3, cv::Scalar(10, 20, 30));
        results->append(ResultEntry{m, QStringLiteral("Probe_0_1")});
        return report("fetchResults", QString::number(results->size()), true);
    }
    bool sendPLCCommand(QString command) override
    {
        return report("sendPLCCommand", command, command == QLatin1String("D1_1"));
    }
    bool reLoadJsonSetParameter(QStringList moduleKeyList) override
    {
        return report("reLoadJsonSetParameter", moduleKeyList.join(QLatin1Char(',')), moduleKeyList.size() == 2);
    }

public slots:
    void processtask_sendImage(QString name, cv::Mat image) override
    {
        emit Logic_writeData(QStringLiteral("slot"), name, QString::number(image.cols), QByteArray("sendImage"));
    }
    void processtask_sendTcpStatus(bool up) override { emit Logic_sendTcpStatus(!up); }
    void processtask_writeData(QString a, QString b, QString c, QByteArray d) override
    {
        emit Logic_writeData(c, b, a, d + "!");
    }
    void processtask_cameraDisconnect(QString msg, bool status) override
    {
        emit Logic_cameraDisconnect(msg + QStringLiteral("!"), !status);
    }
    void processtask_CommunicationDisconnect(QString msg, bool status) override
    {
        emit Logic_CommunicationDisconnect(msg, status);
    }

private:
    bool report(const char *op, const QString &detail, bool result)
    {
        emit Logic_writeData(QStringLiteral("call"), QLatin1String(op), detail, QByteArray(result ? "1" : "0"));
        return result;
    }
};

extern "C" {
Q_DECL_EXPORT base_Logic *create()
{
    return new ProbeLogic();
}
Q_DECL_EXPORT void destory(base_Logic *logic)
{
    delete logic;
}
}

#include "probe_module.moc"
