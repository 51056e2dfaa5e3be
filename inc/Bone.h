#ifndef KELVO_BONE_H
#define KELVO_BONE_H

#include <string>
#include <vector>

#include "CommonObject.h"
#include "Matrix.h"
#include "Vector.h"

class StaticMesh;

// One bone of an actor's skeleton. It starts at its pivot (the rest-pose start point, in actor
// units) and extends by end; its position places its origin in its parent's frame at the parent's
// end point (in the actor's frame for a root bone), and its orientation turns it and everything
// it carries: its own mesh and its child bones.
class Bone : public CommonObject {
public:
    // start: the pivot, also the first position; end: the extent from the start point. With a
    // parent, setParent places the bone in the parent's frame. Named "dummy<N>" from a counter
    // shared by every bone of the run until an actor renames it.
    Bone(const Vector& start, const Vector& end, Bone* parent = nullptr);
    ~Bone() override;

    // Places this bone in p's frame: its origin lands on its own pivot when p and its ancestors
    // are at rest. Null only clears the parent.
    void setParent(Bone* p);
    Bone* getParent() const { return parent; }
    // Appends child (not owned) to the bones this one draws after itself. A child that is this
    // bone or already draws it is refused with a warning.
    void addChild(Bone* child);
    const std::vector<Bone*>& getChildren() const { return children; }

    void setEnd(const Vector& end);
    Vector getEnd() const;
    Vector getPivot() const { return pivot; }
    // The modelview matrix at the bone's origin, captured by the last render (camera included).
    Matrix getWorldMatrix() const;

    // The mesh drawn in the bone's frame; its points are relative to the pivot. Not owned.
    void setAttachedMesh(StaticMesh* mesh);
    StaticMesh* getAttachedMesh() const { return attachedMesh; }

    void setOrientation(const Quaternion& q);

    // Places the bone, captures its frame, draws its mesh and a white line along it, then its
    // children at its end point. Leaves the matrix stack and the enable switches as it found them.
    void render(double time) override;
    // One level-2 line per bone: two blanks per depth level, "+" below the top, the name.
    void printHierarchy(int depth) const;

private:
    // Whether other is this bone or drawn below it.
    bool reaches(const Bone* other) const;

    std::vector<Bone*> children;  // not owned
    Bone* parent;                 // not owned
    Vector end;                   // from the start point to the end point, in the bone's frame
    Vector pivot;                 // rest-pose start point in the actor's frame
    Matrix worldMatrix;           // modelview at the origin during the last render
    StaticMesh* attachedMesh;     // not owned: the actor keeps it

    static int boneCount;  // bones constructed so far, for the dummy names
};

#endif
