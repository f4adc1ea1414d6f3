#pragma once

#include <QList>
#include <QValidator>

// Combines several validators: all must accept (mode All) or one suffices
// (mode Any). A member may be inverted (its answer turned round) and softened
// (its Invalid counts as Intermediate). Members are owned.
class UtJoinValidator : public QValidator
{
    Q_OBJECT
public:
    enum Mode { All = 0, Any = 1 };

    explicit UtJoinValidator(Mode mode = All, QObject *parent = nullptr);

    void addValidator(QValidator *validator, bool inverted = false, bool softened = false);
    State validate(QString &text, int &pos) const override;

    Mode mode() const { return m_mode; }
    int count() const { return int(m_members.size()); }

private:
    struct Member
    {
        QValidator *validator;
        bool inverted;
        bool softened;
    };

    Mode m_mode;
    QList<Member> m_members;
};
