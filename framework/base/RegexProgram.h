#pragma once
// The compiled program shared by the compiler and the matcher: a node is an opcode byte, a 16-bit
// offset to the next node (high byte first, 0 = none; backwards for OP_BACK) and its operand.
namespace tbre {

enum : unsigned char {
    OP_END = 0,
    OP_BOL = 1,
    OP_EOL = 2,
    OP_ANY = 3,
    OP_ANYOF = 4,                       // operand: the set's bytes, terminated
    OP_ANYBUT = 5,
    OP_BRANCH = 6,                      // operand: the alternative's nodes
    OP_BACK = 7,
    OP_EXACTLY = 8,                     // operand: the literal, terminated
    OP_NOTHING = 9,
    OP_STAR = 10,                       // operand: one simple node
    OP_PLUS = 11,
    OP_WORDA = 12,
    OP_WORDZ = 13,
    OP_OPEN = 20,                       // 20 to 29: group 0 to 9 opens
    OP_CLOSE = 30,                      // 30 to 39: group 0 to 9 closes
};

const int NODE_HEADER = 3;

// The node after nNode, or -1 at the end of its chain.
inline int NextNode(const unsigned char* pCode, int nNode)
{
    int nOffset = (pCode[nNode + 1] << 8) | pCode[nNode + 2];
    if (nOffset == 0)
        return -1;
    return pCode[nNode] == OP_BACK ? nNode - nOffset : nNode + nOffset;
}

}  // namespace tbre
