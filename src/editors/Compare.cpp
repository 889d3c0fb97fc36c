#include "editors/Compare.h"

#include "objects/ObjectParameters.h"
#include "objects/GlobalDescription.h"
#include "objects/GlobalObject.h"

#include <algorithm>

namespace Compare {

namespace {

constexpr int FirstDataPosition = 18; // data byte 0's first nibble character

// Each parameter whose value differs, walking the dump once; bits that share a byte are told
// apart, bytes no tab shows are named by their number.
void CompareDumps(const Backup::Object &a, const Backup::Object &b, const QString &label, QVector<Difference> &out)
{
    const qsizetype end = std::max(a.dump.size(), b.dump.size()) - 1; // F7 is not data
    for (int position = FirstDataPosition; position < end;) {
        int next = position + 1;
        for (const ObjectParameters::Field &field : ObjectParameters::FieldsAt(a.kind, position)) {
            next = std::max(next, field.position + field.width);
            if (a.dump.mid(field.position - 1, field.width) == b.dump.mid(field.position - 1, field.width))
                continue;
            const QString left = ObjectParameters::ValueText(a.dump, field);
            const QString right = ObjectParameters::ValueText(b.dump, field);
            if (field.mask == 0 || left != right)
                out.append({a.kind, a.number, label, field.name, left, right});
        }
        position = next;
    }
}

QString Present(const Backup::Object &object)
{
    return object.name.isEmpty() ? QStringLiteral("present") : object.name;
}

} // namespace

QVector<Difference> Differences(const Backup::Contents &first, const Backup::Contents &second)
{
    QVector<Difference> out;
    for (const Backup::Object &a : first.objects) {
        const QString label = Backup::ObjectLabel(a.kind, a.number, a.name);
        const Backup::Object *b = second.find(a.kind, a.number);
        if (!b)
            out.append({a.kind, a.number, label, QString(), Present(a), QStringLiteral("-")});
        else if (!Backup::SameMessage(a.dump, b->dump))
            CompareDumps(a, *b, label, out);
    }
    for (const Backup::Object &b : second.objects) {
        if (!first.find(b.kind, b.number))
            out.append({b.kind, b.number, Backup::ObjectLabel(b.kind, b.number, b.name), QString(), QStringLiteral("-"),
                        Present(b)});
    }
    const auto a = first.globalValues();
    const auto b = second.globalValues();
    if (a && b) {
        for (int parameter = GlobalObject::BankName; parameter <= GlobalObject::MasterTune; ++parameter) {
            const QString before = GlobalObject::ValueText(*a, parameter);
            const QString after = GlobalObject::ValueText(*b, parameter);
            if (before != after)
                out.append({KindGlobal, 0, QStringLiteral("Global"), GlobalDescription::Name(parameter), before, after});
        }
    }
    return out;
}

} // namespace Compare
