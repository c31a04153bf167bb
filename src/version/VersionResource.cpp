#include "VersionResource.h"

#include <algorithm>

namespace {

constexpr std::uint32_t FixedInfoSignature = 0xFEEF04BD;
constexpr std::uint16_t FixedInfoSize = 52;
constexpr qsizetype NodeHeaderSize = 6; // wLength, wValueLength, wType
constexpr std::uint16_t TextValue = 1;

// Every node, value and child starts on a 32-bit boundary counted from the start of the resource.
constexpr qsizetype aligned(qsizetype offset)
{
    return (offset + 3) & ~qsizetype{3};
}

// One node of the tree. Offsets count from the start of the resource; [childrenAt, end) holds the
// children, [valueAt, valueEnd) the value.
struct Node {
    QString key;
    std::uint16_t valueLength = 0;
    qsizetype valueAt = 0;
    qsizetype valueEnd = 0;
    qsizetype childrenAt = 0;
    qsizetype end = 0;
};

// The resource's bytes, read as a tree whose every length is checked before it is followed.
class Tree {
public:
    explicit Tree(QByteArrayView bytes)
        : m_bytes(bytes)
    {}

    // The node at an offset within a parent that ends at limit; nullopt when its length is too
    // small to hold its header, odd, or leaves the parent, or its key or value does not fit.
    [[nodiscard]] std::optional<Node> nodeAt(qsizetype at, qsizetype limit) const
    {
        if (limit > m_bytes.size() || limit - at < NodeHeaderSize)
            return std::nullopt;
        const std::uint16_t length = u16(at);
        if (length < NodeHeaderSize || length % 2 != 0 || length > limit - at)
            return std::nullopt;
        Node node;
        node.end = at + length;
        node.valueLength = u16(at + 2);
        const bool text = u16(at + 4) == TextValue;

        qsizetype keyEnd = at + NodeHeaderSize;
        for (; keyEnd + 2 <= node.end && u16(keyEnd) != 0; keyEnd += 2)
            node.key += QChar(u16(keyEnd));
        if (keyEnd + 2 > node.end)
            return std::nullopt;

        // A text value's length counts UTF-16 units, a binary one's bytes. Some writers count the
        // bytes of text too, so a text value is only cut at its node's end; the last item of a
        // node may leave out its padding, so only the padding is cut there.
        const qsizetype valueBytes = text ? qsizetype{node.valueLength} * 2 : node.valueLength;
        node.valueAt = std::min(aligned(keyEnd + 2), node.end);
        if (!text && valueBytes > node.end - node.valueAt)
            return std::nullopt;
        node.valueEnd = std::min(node.valueAt + valueBytes, node.end);
        node.childrenAt = std::min(aligned(node.valueEnd), node.end);
        return node;
    }

    // Calls visit(child) for each child in order; false when a child is damaged.
    template <typename Visit>
    [[nodiscard]] bool forEachChild(const Node& parent, Visit&& visit) const
    {
        // Every node is at least a header long, so each step moves on and the loop ends.
        for (qsizetype at = parent.childrenAt; at < parent.end;) {
            const std::optional<Node> child = nodeAt(at, parent.end);
            if (!child)
                return false;
            visit(*child);
            at = aligned(child->end);
        }
        return true;
    }

    // Little-endian numbers; callers have checked that they lie within the bytes.
    [[nodiscard]] std::uint16_t u16(qsizetype at) const
    {
        return static_cast<std::uint16_t>(byte(at) | byte(at + 1) << 8);
    }
    [[nodiscard]] std::uint32_t u32(qsizetype at) const
    {
        return std::uint32_t{u16(at)} | std::uint32_t{u16(at + 2)} << 16;
    }

    // A text value up to its terminating zero, or all of it when it has none.
    [[nodiscard]] QString text(const Node& node) const
    {
        QString value;
        for (qsizetype at = node.valueAt; at + 1 < node.valueEnd && u16(at) != 0; at += 2)
            value += QChar(u16(at));
        return value;
    }

private:
    [[nodiscard]] unsigned byte(qsizetype at) const
    {
        return static_cast<std::uint8_t>(m_bytes[at]);
    }

    QByteArrayView m_bytes;
};

// The string table key of a translation: language and code page as four hex digits each.
QString tableKey(std::uint32_t translation)
{
    return QStringLiteral("%1%2")
        .arg(translation & 0xFFFF, 4, 16, QLatin1Char('0'))
        .arg(translation >> 16, 4, 16, QLatin1Char('0'));
}

// The first (language, code page) pair of VarFileInfo\Translation, language in the low half.
std::optional<std::uint32_t> firstTranslation(const Tree& tree, const Node& varFileInfo)
{
    std::optional<std::uint32_t> translation;
    const bool whole = tree.forEachChild(varFileInfo, [&](const Node& var) {
        if (!translation && var.key == QLatin1String("Translation") &&
            var.valueEnd - var.valueAt >= 4)
            translation = tree.u32(var.valueAt);
    });
    return whole ? translation : std::nullopt;
}

// Adds the strings of the table for the translation; the first of a repeated key counts, as in
// Windows' own lookup.
bool readStrings(const Tree& tree, const Node& stringFileInfo, std::uint32_t translation,
                 QMap<QString, QString>& strings)
{
    const QString wanted = tableKey(translation);
    bool found = false;
    bool whole = true;
    const bool tables = tree.forEachChild(stringFileInfo, [&](const Node& table) {
        if (found || table.key.compare(wanted, Qt::CaseInsensitive) != 0)
            return;
        found = true;
        whole = tree.forEachChild(table, [&](const Node& string) {
            if (!strings.contains(string.key))
                strings.insert(string.key, string.valueLength == 0 ? QString() : tree.text(string));
        });
    });
    return tables && whole;
}

} // namespace

std::optional<VersionBlockValues> decodeVersionResource(QByteArrayView bytes)
{
    const Tree tree(bytes);
    const std::optional<Node> root = tree.nodeAt(0, bytes.size());
    if (!root || root->key != QLatin1String("VS_VERSION_INFO") ||
        root->valueLength != FixedInfoSize || root->valueEnd - root->valueAt != FixedInfoSize ||
        tree.u32(root->valueAt) != FixedInfoSignature)
        return std::nullopt;

    VersionBlockValues values;
    // After the signature comes the structure version, then the four version words.
    values.fileVersionMS = tree.u32(root->valueAt + 8);
    values.fileVersionLS = tree.u32(root->valueAt + 12);
    values.productVersionMS = tree.u32(root->valueAt + 16);
    values.productVersionLS = tree.u32(root->valueAt + 20);

    std::optional<Node> stringFileInfo;
    std::optional<Node> varFileInfo;
    const bool whole = tree.forEachChild(*root, [&](const Node& child) {
        if (!stringFileInfo && child.key == QLatin1String("StringFileInfo"))
            stringFileInfo = child;
        else if (!varFileInfo && child.key == QLatin1String("VarFileInfo"))
            varFileInfo = child;
    });
    if (!whole || !varFileInfo)
        return std::nullopt;
    const std::optional<std::uint32_t> translation = firstTranslation(tree, *varFileInfo);
    if (!translation)
        return std::nullopt;
    // Without a string table every string is empty, as a lookup in a missing table gives.
    if (stringFileInfo && !readStrings(tree, *stringFileInfo, *translation, values.strings))
        return std::nullopt;
    return values;
}
