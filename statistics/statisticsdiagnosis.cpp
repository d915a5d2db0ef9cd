#include "statisticsdiagnosis.h"

namespace {

constexpr int MaxCommentLength = 200;

} // namespace

QString StatisticsDiagnosis::firstComment() const
{
    for (const QString &comment : comments) {
        if (!comment.isEmpty())
            return shortened(comment);
    }
    return {};
}

QString StatisticsDiagnosis::shortened(const QString &comment)
{
    return comment.size() > MaxCommentLength ? comment.left(MaxCommentLength - 1) + QChar(0x2026)
                                             : comment;
}
